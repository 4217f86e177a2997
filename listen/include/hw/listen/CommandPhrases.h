#pragma once
// The phrase list: which words start which command, and how sure the recogniser must be.
// A plain text file, installed with the program as "spoken-commands.txt"; a user may put
// their own copy in their settings folder. One command per line:
//
//     again   tutor again   /1e-25/
//
// the command's word, its phrase (words of the recogniser's dictionary), and the detection
// threshold between slashes (smaller hears more, and more wrongly). '#' starts a comment.
#include "hw/listen/SpokenCommand.h"

#include <QString>

#include <stdexcept>
#include <string>
#include <vector>

namespace hw {

struct CommandPhrase {
    SpokenCommand command = SpokenCommand::Play;
    std::string phrase;   // lower case, single spaces
    double threshold = 0; // > 0 and < 1
};

// A phrase list that cannot be used; what() names the file and the line.
class PhraseListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads and checks a phrase list (every line well formed, each command at most once, at
// least one phrase). Throws PhraseListError.
std::vector<CommandPhrase> readCommandPhrases(const QString& path);

// The list in effect: "spoken-commands.txt" in settingsFolder when there, else the one
// installed beside the program (share/hacklewright), else the copy built into the program.
// Returns the path it read, or ":/listen/spoken-commands.txt" for the built-in copy.
QString commandPhrasesPath(const QString& settingsFolder);

} // namespace hw
