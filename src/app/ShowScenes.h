// The show's eight hand-written scenes and when the driver builds them.
#pragma once
#include <string>

class Effect;
class EffectTimeline;

// Constructs the scenes in show order and adds them to the timeline; a scene whose window ends
// before `startOffset` is not built (the alien morph and the greetings always are).
void addShowScenes(EffectTimeline& timeline, float startOffset);
// The name a scene's problems are reported under: its own, or for a scene that has none (the
// greetings) the name of its kind.
std::string showSceneName(const Effect& scene);
