// The loading part of the show's start-up, shared by the first start, every reload and --check:
// the managers' importers and search paths, then the scripts, the scenes and prepareAll, and
// the teardown that empties the managers again in shutdown's order.
#pragma once

#include <string>
#include <vector>

class Texture;

namespace showloading {

// The music start-up plays.
inline constexpr const char* kMusicFile = "data\\snd\\oculith - edit 2 (64k).mp3";
// The timeline script.
inline constexpr const char* kTimelineFile = "data\\scr\\generic.effect";
// The show's end when neither --until nor the timeline's "ShowEnd" line sets one
// (as a 32-bit float: 358.1090087890625).
inline constexpr double kDefaultEndTime = 358.109;

// The end of the show in the current folder: `until` when it is not negative, else the
// timeline script's "ShowEnd" line, else kDefaultEndTime.
double showEnd(double until);

// The picture start-up shows while the scripts load.
inline constexpr const char* kLoadingPicture = "data\\art\\loading.jpg";

// The loading picture ("loading.jpg" as RGB, the caller's reference), or none: quietly when the
// show has none, with a problem when its file cannot be read.
Texture* loadLoadingPicture();
// Gives the picture back and drops it from the texture list.
void releaseLoadingPicture(Texture* picture);

// Mesh importers and "data\obj\"; texture readers, the normalization cube map, "data\art\"
// and "data\fnt\".
void setUpManagers();
// The material library "data\scr\generic.shader", the console font, the timeline script
// "data\scr\generic.effect", the scenes and one prepareAll. False after a script error, which
// ends up as a "SCRIPTING ERROR" box, or as a problem when a problem sink is installed. A sink
// that reads on gets every step run, whatever failed before.
bool loadScripts();
// What the last loadScripts left out on purpose, one line each ("scene Vizidedar: no files in
// this show, not played"): not problems, but worth a show maker's note.
const std::vector<std::string>& notes();
// Console font released, timeline cleared, meshes, materials and textures released (the GL
// context must still exist).
void tearDown();

} // namespace showloading
