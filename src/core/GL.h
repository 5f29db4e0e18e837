// OpenGL, its extension enumerants and GLU, as every drawing file includes them.
#pragma once
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
