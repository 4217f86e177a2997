#pragma once
// Makes command listeners: on the default microphone of the desktop's sound server, or on a
// sound file (for the tool and the tests). Both cancel the program's own sound when given
// what it played.
#include "hw/listen/CommandListener.h"
#include "hw/listen/CommandPhrases.h"

#include <QString>

#include <memory>
#include <vector>

namespace hw {

class PlayedSound; // hw/listen/PlayedSound.h

// Listens to the default source through libpulse, connecting as the sound engine does: in
// the background, never waiting more than two seconds, and saying NoMicrophone when there is
// none or the server refuses. `played` (may be null) is what the program plays, taken out of
// what the microphone hears.
std::unique_ptr<CommandListener> makeMicrophoneListener(std::vector<CommandPhrase> phrases,
                                                        std::shared_ptr<PlayedSound> played);

// Listens to a local sound file (WAV, FLAC, MP3, Ogg; converted to 16 kHz mono) as fast as
// it can be read, then says Ended; times are the file's own. The file is opened here: one
// that cannot be read throws std::runtime_error saying why, in the tool's words
// ("Cannot open file %s"). `playedPath`, when given, is a file of what was played while `path`
// was recorded, from the same moment on; its echo in `path` is taken out.
std::unique_ptr<CommandListener> makeFileListener(std::vector<CommandPhrase> phrases, const QString& path,
                                                  const QString& playedPath = {});

} // namespace hw
