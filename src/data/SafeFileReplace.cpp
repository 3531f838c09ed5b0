#include "data/SafeFileReplace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "core/Diagnostics.h"

namespace
{
bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size())
    {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}
} // namespace

bool ReplaceFileSafely(const std::string& path, const std::string& text)
{
    const std::string temporary = path + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
    {
        DiagPrint("%s: cannot be written: %s\n", temporary.c_str(), std::strerror(errno));
        return false;
    }
    // The data must be on disk before the name moves, or a power cut can leave an empty file.
    const bool written = WriteAll(fd, text);
    const int writeError = errno;
    const bool synced = written && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !synced || !closed)
    {
        DiagPrint("%s: write failed: %s\n", temporary.c_str(), std::strerror(written ? errno : writeError));
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        DiagPrint("%s: could not replace %s: %s\n", temporary.c_str(), path.c_str(), std::strerror(errno));
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
