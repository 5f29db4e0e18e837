#include "animation/Keyframer.h"

#include "script/ScriptReader.h"

void Keyframer::prepare() {}
void Keyframer::finish() {}
void Keyframer::update(float) {}
bool Keyframer::write(std::ostream&) { return true; }
void Keyframer::apply() {}
void Keyframer::unapply() {}
bool Keyframer::read(ScriptReader&, std::istream&) { return false; }
