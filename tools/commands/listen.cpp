// listen [--seconds N] [--file F] [--phrases LIST]: listens for the tutor's spoken commands
// on the default microphone (or in a sound file) and prints one line per command heard: the
// seconds since listening began, then the command's word ("12.34 again"). Authors and users
// try their phrase lists and thresholds with it.
#include "Command.h"
#include "OutputFiles.h"
#include "hw/Narrow.h"

#include "hw/listen/Listening.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

namespace {

// Where the tutor keeps its settings, and a user their own phrase list.
QString settingsFolder()
{
    const QSettings settings(QStringLiteral("Hacklewright"), QStringLiteral("Hacklewright"));
    return QFileInfo(settings.fileName()).absolutePath();
}

// Takes "--name VALUE" out of args; false when the value is missing.
bool takeOption(QStringList& args, const QString& name, QString& value)
{
    const auto i = args.indexOf(name);
    if (i < 0)
        return true;
    if (i + 1 >= args.size())
        return false;
    value = args[i + 1];
    args.remove(i, 2);
    return true;
}

int runListen(const QStringList& arguments)
{
    QTextStream err(stderr);
    QStringList args = arguments;
    QString seconds, file, playedFile, phrasesFile;
    // The time each command was decided after its phrase ended, for tuning and benchmarks.
    const bool timing = args.removeAll(QStringLiteral("--timing")) > 0;
    bool ok = takeOption(args, QStringLiteral("--seconds"), seconds)
        && takeOption(args, QStringLiteral("--file"), file)
        && takeOption(args, QStringLiteral("--played"), playedFile)
        && takeOption(args, QStringLiteral("--phrases"), phrasesFile) && args.isEmpty();
    double limit = 0;
    if (ok && !seconds.isEmpty()) {
        limit = seconds.toDouble(&ok);
        ok = ok && limit > 0;
    }
    ok = ok && (playedFile.isEmpty() || !file.isEmpty());
    if (!ok) {
        err << "usage: hacklewright-tool listen [--seconds N] [--file F.wav] [--played P.wav] [--phrases "
               "LIST] [--timing]\n"
               "  prints \"SECONDS COMMAND\" for each spoken command heard on the microphone, or in F;\n"
               "  --played: what was played while F was recorded, taken out of F as the program's own "
               "sound;\n"
               "  --timing adds the seconds of sound past the phrase's end it took to decide\n";
        return 2;
    }
    std::vector<hw::CommandPhrase> phrases;
    std::unique_ptr<hw::CommandListener> listener;
    try {
        const QString list = phrasesFile.isEmpty() ? hw::commandPhrasesPath(settingsFolder())
                                                   : hw::tool::commandLinePath(phrasesFile);
        phrases = hw::readCommandPhrases(list);
        listener = file.isEmpty()
            ? hw::makeMicrophoneListener(phrases, nullptr)
            : hw::makeFileListener(phrases, hw::tool::commandLinePath(file),
                                   playedFile.isEmpty() ? QString() : hw::tool::commandLinePath(playedFile));
    } catch (const std::exception& e) {
        err << e.what() << "\n";
        return 1;
    }

    std::mutex doneMutex;
    std::condition_variable doneChanged;
    bool done = false;
    bool noMicrophone = false;
    listener->onHeard = [timing](const hw::HeardCommand& heard) {
        const std::string_view word = hw::commandWord(heard.command);
        if (timing)
            std::printf("%.2f %.*s %.3f\n", heard.seconds, hw::intSize(word), word.data(),
                        heard.decidedAfter);
        else
            std::printf("%.2f %.*s\n", heard.seconds, hw::intSize(word), word.data());
        std::fflush(stdout);
    };
    listener->onState = [&](hw::ListenState state) {
        if (state != hw::ListenState::Ended && state != hw::ListenState::NoMicrophone)
            return;
        std::lock_guard lock(doneMutex);
        done = true;
        noMicrophone = state == hw::ListenState::NoMicrophone;
        doneChanged.notify_all();
    };
    listener->start();
    {
        std::unique_lock lock(doneMutex);
        const auto finished = [&] { return done; };
        if (limit > 0)
            doneChanged.wait_for(lock, std::chrono::duration<double>(limit), finished);
        else
            doneChanged.wait(lock, finished);
    }
    listener->stop();
    if (noMicrophone) {
        err << "No microphone found\n";
        return 1;
    }
    return 0;
}

const bool registered = hw::tool::registerCommand(
    {"listen", "listen [--seconds N] [--file F.wav [--played P.wav]] [--phrases LIST] [--timing]",
     "print the spoken commands heard on the microphone or in a sound file", runListen});

} // namespace
