// Regular files only, opened without blocking; control bytes escaped for messages.
#include "assets/AssetFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/Language.h"

namespace {
std::string notRegular(mode_t mode) {
    if (S_ISDIR(mode)) return std::strerror(EISDIR);  // the system's own words, as open's would be
    return S_ISFIFO(mode)   ? tr("it is a FIFO, not a regular file")
           : S_ISCHR(mode)  ? tr("it is a character device, not a regular file")
           : S_ISBLK(mode)  ? tr("it is a block device, not a regular file")
           : S_ISSOCK(mode) ? tr("it is a socket, not a regular file")
                            : tr("it is not a file, not a regular file");
}
}  // namespace

std::FILE* openAsset(const std::string& path, std::string& why, std::uintmax_t* size) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        why = std::strerror(errno);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        why = notRegular(info.st_mode);
        return nullptr;
    }
    // The name may have been swapped for a FIFO since the stat: O_NONBLOCK keeps the open
    // from waiting, and the opened file is checked again.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = std::strerror(errno);
        return nullptr;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        why = notRegular(info.st_mode);
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) {
        why = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    if (size != nullptr) *size = static_cast<std::uintmax_t>(info.st_size);
    why.clear();
    return file;
}

std::string printable(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else {
            out += {'\\', 'x', hex[byte >> 4], hex[byte & 15]};
        }
    }
    return out;
}
