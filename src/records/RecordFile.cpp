// The records file's room: every file call of the records lives here.
#include "records/RecordFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "core/Language.h"

namespace {
std::string reason(int error) { return std::strerror(error); }

// Reads the whole file into text; false with errno set when it cannot.
bool readAll(const std::string& path, std::string& text) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[4096];
    ssize_t got = 0;
    // Records are a few dozen bytes: more than this is not a records file.
    while (text.size() <= 65536 && ((got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))) {
        if (got > 0) text.append(buffer, static_cast<size_t>(got));
    }
    const int error = errno;
    close(fd);
    errno = error;
    return got >= 0;
}

bool writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

// "<path>.damaged-YYYYMMDD-HHMMSS", with a count when that name is taken.
std::string asideName(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string name = path + ".damaged-" + stamp;
    struct stat info{};
    for (int n = 2; lstat(name.c_str(), &info) == 0; ++n) name = path + ".damaged-" + stamp + "-" + std::to_string(n);
    return name;
}
}  // namespace

std::string recordsFolder(const char* xdgDataHome, const char* home) {
    // Relative values are to be ignored, as if unset.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return std::string(xdgDataHome) + "/larkmere";
    return std::string(home != nullptr ? home : "") + "/.local/share/larkmere";
}

std::string recordsPath(const std::string& folder) { return folder + "/records"; }

RecordRead readRecordFile(const std::string& path) {
    RecordRead result;
    struct stat info{};
    if (stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return result;
        return {ReadStatus::Unreadable, {}, reason(errno)};
    }
    if (!S_ISREG(info.st_mode)) return {ReadStatus::Damaged, {}, tr("it is not a regular file")};
    std::string text;
    if (!readAll(path, text)) return {ReadStatus::Unreadable, {}, reason(errno)};
    const std::optional<Records> records = parseRecords(text, result.why);
    if (!records) return {ReadStatus::Damaged, {}, result.why};
    return {ReadStatus::Read, *records, ""};
}

RecordBook::RecordBook(std::string folder, Report report) : folder_(std::move(folder)), report_(std::move(report)) {
    if (!report_) report_ = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
}

void RecordBook::waitForWrite() {
    if (writer_.joinable()) writer_.join();
}

RecordOutcome RecordBook::finishRun(const RunResult& run) {
    waitForWrite();
    const std::string path = recordsPath(folder_);
    std::error_code ignored;
    std::filesystem::create_directories(folder_, ignored);
    // A folder made read-only after a first run still has its lock file to read-lock.
    int lockFd = open((folder_ + "/records.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    const int lockError = errno;
    if (lockFd < 0) lockFd = open((folder_ + "/records.lock").c_str(), O_RDONLY | O_CLOEXEC);
    while (lockFd >= 0 && flock(lockFd, LOCK_EX) != 0 && errno == EINTR) {
    }

    const RecordRead read = readRecordFile(path);
    bool writable = read.status == ReadStatus::Read || read.status == ReadStatus::Missing;
    if (read.status == ReadStatus::Damaged) {
        const std::string aside = asideName(path);
        if (std::rename(path.c_str(), aside.c_str()) == 0) {
            report_(formatText(tr("Larkmere: the records file %s cannot be read (%s); moved it to %s and started new records"),
                           path.c_str(), read.why.c_str(), aside.c_str()));
            writable = true;
        } else {
            report_(formatText(tr("Larkmere: the records file %s cannot be read (%s) nor moved aside (%s); it is left as it is and this run is not kept"),
                           path.c_str(), read.why.c_str(), reason(errno).c_str()));
        }
    } else if (read.status == ReadStatus::Unreadable) {
        report_(formatText(tr("Larkmere: cannot read the records file %s: %s; this run is not kept"), path.c_str(), read.why.c_str()));
    }

    const RecordOutcome outcome = applyRun(read.records, run);
    if (writable && lockFd >= 0) {
        writer_ = std::thread(&RecordBook::write, this, lockFd, formatRecords(outcome.records));
    } else {
        if (writable && !writeFailureReported_) {
            writeFailureReported_ = true;
            report_(formatText(tr("Larkmere: cannot keep records in %s: %s; the game plays on without them"), folder_.c_str(), reason(lockError).c_str()));
        }
        if (lockFd >= 0) close(lockFd);
    }
    return outcome;
}

// A new file beside the old one, on disk before it takes the old one's name: a crash at any
// moment leaves the old records or the new ones.
void RecordBook::write(int lockFd, const std::string& text) {
    const std::string path = recordsPath(folder_), fresh = path + ".new";
    const int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool written = fd >= 0 && writeAll(fd, text) && fsync(fd) == 0;
    int error = errno;
    if (fd >= 0 && close(fd) != 0 && written) written = false, error = errno;
    if (written && std::rename(fresh.c_str(), path.c_str()) != 0) written = false, error = errno;
    if (written) {
        const int folderFd = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd >= 0) fsync(folderFd), close(folderFd);
    } else {
        if (fd >= 0) unlink(fresh.c_str());
        if (!writeFailureReported_) {
            writeFailureReported_ = true;
            report_(formatText(tr("Larkmere: cannot write the records file %s: %s; the old records are kept"), path.c_str(), reason(error).c_str()));
        }
    }
    close(lockFd);
}
