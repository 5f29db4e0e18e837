// The show's eight hand-written scenes and when the driver builds them.
#pragma once
#include <string>
#include <vector>

class Effect;
class EffectTimeline;

// Whether a show file (backslash form, relative to the show's folder) exists.
using ShowFileTest = bool (*)(const std::string& path);

// Constructs the scenes in show order and adds them to the timeline; a scene whose window ends
// before `startOffset` is not built (the alien morph and the greetings always are). With
// `exists` given, a scene none of whose own files exist is not part of this show folder: it is
// not built, and its name is returned, in show order. A scene with some of its files present is
// built and shows its own box for what is missing.
std::vector<std::string> addShowScenes(EffectTimeline& timeline, float startOffset,
                                       ShowFileTest exists = nullptr);
// The name a scene's problems are reported under: its own, or for a scene that has none (the
// greetings) the name of its kind.
std::string showSceneName(const Effect& scene);
