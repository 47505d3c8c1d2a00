// The records file on disk: found per user, read strictly, replaced atomically under a lock,
// and never overwritten when it cannot be read back.
#pragma once

#include <functional>
#include <string>
#include <thread>

#include "records/Records.h"

// $XDG_DATA_HOME/larkmere when that is an absolute path, otherwise ~/.local/share/larkmere.
std::string recordsFolder(const char* xdgDataHome, const char* home);
std::string recordsPath(const std::string& folder);

enum class ReadStatus { Missing, Read, Damaged, Unreadable };
struct RecordRead {
    ReadStatus status = ReadStatus::Missing;
    Records records;  // empty unless Read
    std::string why;  // Damaged or Unreadable: the reason
};
RecordRead readRecordFile(const std::string& path);

// The game's keeper of the records: one finished run at a time.
class RecordBook {
public:
    using Report = std::function<void(const std::string& line)>;
    // report receives each message line (by default, standard error).
    explicit RecordBook(std::string folder, Report report = nullptr);
    ~RecordBook() { waitForWrite(); }
    RecordBook(const RecordBook&) = delete;
    RecordBook& operator=(const RecordBook&) = delete;

    // Under the folder's lock, reads the records (moving a damaged file aside), applies the run
    // and returns at once; the new file is written in the background, the lock held until the
    // write is done, so that another game's run waits and merges with this one.
    RecordOutcome finishRun(const RunResult& run);
    void waitForWrite();

private:
    void write(int lockFd, const std::string& text);

    std::string folder_;
    Report report_;
    std::thread writer_;
    bool writeFailureReported_ = false;  // a folder that cannot be written costs one line
};
