// Degree/radian factors: the math works in radians, scripts and glRotatef in degrees.
#pragma once

// Single-precision pi/180 and 180/pi, the factors every script reader and GL call uses.
inline constexpr float degToRad = 0.017453292f;
inline constexpr float radToDeg = 57.29578f;
