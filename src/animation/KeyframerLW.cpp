#include "animation/KeyframerLW.h"

#include "script/ScriptReader.h"

KeyframerLW::KeyframerLW() {}
void KeyframerLW::update(float) {}
bool KeyframerLW::write(std::ostream&) { return true; }
void KeyframerLW::apply() {}
void KeyframerLW::unapply() {}
bool KeyframerLW::read(ScriptReader&, std::istream&) { return false; }
