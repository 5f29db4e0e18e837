// The show's eight hand-written scenes and when the driver builds them.
#pragma once

class EffectTimeline;

// Constructs the scenes in show order and adds them to the timeline; a scene whose window ends
// before `startOffset` is not built (the alien morph and the greetings always are).
void addShowScenes(EffectTimeline& timeline, float startOffset);
