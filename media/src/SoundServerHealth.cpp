#include "SoundServerHealth.h"

#include "SoundLog.h"

namespace hw::media {

SoundServerHealth& SoundServerHealth::shared()
{
    static SoundServerHealth health;
    return health;
}

void SoundServerHealth::failed(const std::string& server, const std::string& line)
{
    {
        std::lock_guard lock(serversMutex_);
        if (!failing_.insert(server).second)
            return;
    }
    qCWarning(lcSound, "%s", line.c_str());
}

void SoundServerHealth::answered(const std::string& server)
{
    std::lock_guard lock(serversMutex_);
    if (failing_.erase(server))
        qCDebug(lcSound, "The sound server %s answers again", server.c_str());
}

bool SoundServerHealth::failing(const std::string& server) const
{
    std::lock_guard lock(serversMutex_);
    return failing_.count(server) != 0;
}

} // namespace hw::media
