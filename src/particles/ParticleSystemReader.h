// Reads a "ParticleSystem {" block into a system: "Info" lines passed over, "Name ", "Max ",
// "SpawnRate ", the "Generator {" and "Renderer {" blocks and the operators, up to the closing
// "}" or the end of the stream.
#pragma once
#include "particles/ParticleSystem.h"
#include "script/ScriptReader.h"

#include <istream>
#include <memory>

// Called right after the line holding "ParticleSystem {". None when "Max " gives a value ≤ 0
// or above ParticleSystem::kParticleLimit, "SpawnRate " is negative, or the generator or the
// renderer block yields nothing; the rest of the block is then passed over and the reason
// logged with the file and line. An operator block that yields nothing is left out.
std::unique_ptr<ParticleSystem> readParticleSystem(ScriptReader& reader, std::istream& stream);
