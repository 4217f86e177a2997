#pragma once
// Which sound servers have let the program down lately, shared by every sound output of the
// run: the output of the next clip does not wait on such a server again, it tries in the
// background until a connection succeeds. Each failure episode is told in the log once.
#include <mutex>
#include <set>
#include <string>

namespace hw::media {

class SoundServerHealth {
public:
    static SoundServerHealth& shared();

    // The server (as its clients name it; empty: the default) failed: the episode's line
    // goes to the log when this starts one.
    void failed(const std::string& server, const std::string& line);
    // A connection to the server succeeded: the episode, if any, is over.
    void answered(const std::string& server);
    bool failing(const std::string& server) const;

private:
    mutable std::mutex serversMutex_; // guards the servers known to have failed
    std::set<std::string> failing_;
};

} // namespace hw::media
