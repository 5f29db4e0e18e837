// The binary files of the starter show (examples/starter): its pictures, console font, mesh and
// a short music track, written under a show folder. The repository keeps the files this writes;
// run `oculith-generate --out examples/starter --only starter` after changing them here.
#pragma once
#include <string>

namespace startershow {

// How long the starter show's music runs, in seconds (the show ends a little before).
inline constexpr double kMusicSeconds = 26.0;
// A small file: the starter show is committed with the repository.
inline constexpr int kMusicBitRate = 48;

// Writes every file of the starter show under `outDir`; false with `error` on the first failure.
bool write(const std::string& outDir, bool progress, std::string& error);

} // namespace startershow
