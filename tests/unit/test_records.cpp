// The records: the rule a finished run applies, and the file kept safe through damage, full
// and read-only disks, two games at once and a kill at any instant.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>

#include "records/RecordFile.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// A disk that fills up: with the switch set, write() to a file or fsync() fails with ENOSPC.
enum class NoSpace { Never, OnWrite, OnFsync };
static std::atomic<NoSpace> noSpace{NoSpace::Never};
extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static auto real = reinterpret_cast<ssize_t (*)(int, const void*, size_t)>(dlsym(RTLD_NEXT, "write"));
    struct stat info{};
    if (noSpace == NoSpace::OnWrite && fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) return errno = ENOSPC, -1;
    return real(fd, data, size);
}
extern "C" int fsync(int fd) {
    static auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    if (noSpace == NoSpace::OnFsync) return errno = ENOSPC, -1;
    return real(fd);
}

static std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
static void put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A fresh folder for records, under a temporary data home that a test never shares.
struct Folder {
    fs::path path;
    Folder() {
        char base[] = "/tmp/larkmere-records-XXXXXX";
        path = fs::path(mkdtemp(base)) / "larkmere";
        fs::create_directories(path);
        fs::permissions(path.parent_path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
    }
    ~Folder() {
        fs::permissions(path, fs::perms::owner_all);
        fs::remove_all(path.parent_path());
    }
    fs::path file() const { return path / "records"; }
    Records records() const {
        const RecordRead read = readRecordFile(file());
        EXPECT_EQ(read.status, ReadStatus::Read) << read.why;
        return read.records;
    }
};

// As root, folder modes bind nobody: the run is made as nobody, as a player meets them.
static void asPlayer(bool drop) {
    if (getuid() == 0) {
        EXPECT_EQ(drop ? (setegid(65534) | seteuid(65534)) : (seteuid(0) | setegid(0)), 0);
    }
}

static Records records(int32_t score, std::optional<int32_t> win, int32_t runs, int32_t wins) { return {score, win, runs, wins}; }

TEST(Records, EachRunAgainstTheRecordsGivesTheNewRecordsAndTheLineShown) {
    const Records none, lostOnly = records(40, {}, 3, 0), won = records(125, 50, 5, 2);
    const struct { const char* name; Records old; RunResult run; Records now; RecordLine line; const char* text; } cases[] = {
        {"first run", none, {false, 12, 30}, records(12, {}, 1, 0), RecordLine::NewScore, "NUEVO RECORD!"},
        {"first run, no score", none, {false, 0, 3}, records(0, {}, 1, 0), RecordLine::ToBeat, "Record: 0"},
        {"lost below the best", lostOnly, {false, 39, 80}, records(40, {}, 4, 0), RecordLine::ToBeat, "Record: 40"},
        {"lost above the best", lostOnly, {false, 41, 80}, records(41, {}, 4, 0), RecordLine::NewScore, "NUEVO RECORD!"},
        {"a tie", lostOnly, {false, 40, 9}, records(40, {}, 4, 0), RecordLine::ToBeat, "Record: 40"},
        {"a win after only losses", lostOnly, {true, 121, 65}, records(121, 65, 4, 1), RecordLine::NewScoreAndTime,
         "NUEVO RECORD Y MEJOR TIEMPO!"},
        {"a win slower", won, {true, 122, 51}, records(125, 50, 6, 3), RecordLine::ToBeat, "Record: 125   Mejor tiempo: 00 : 50"},
        {"a win as fast", won, {true, 121, 50}, records(125, 50, 6, 3), RecordLine::ToBeat, "Record: 125   Mejor tiempo: 00 : 50"},
        {"a win faster", won, {true, 121, 49}, records(125, 49, 6, 3), RecordLine::NewTime, "NUEVO MEJOR TIEMPO!"},
        {"a loss after wins", won, {false, 60, 600}, records(125, 50, 6, 2), RecordLine::ToBeat,
         "Record: 125   Mejor tiempo: 00 : 50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RecordOutcome outcome = applyRun(c.old, c.run);
        EXPECT_EQ(outcome.records, c.now) << formatRecords(outcome.records);
        EXPECT_EQ(outcome.line, c.line);
        EXPECT_EQ(recordLineText(outcome), c.text);
    }
}

TEST(RecordFile, KeptReadBackAndDamagedFilesMovedAsideNeverOverwritten) {
    const auto file = [](const char* version, const char* score, const char* runs, const char* wins, const char* end = "\n") {
        return std::string("larkmere-records ") + version + "\nbest-score " + score + "\nbest-win-seconds " +
               (std::string(wins) == "0" ? "none" : "41") + "\nruns " + runs + "\nwins " + wins + end;
    };
    const std::string kept = file("1", "37", "3", "1");
    // "\0": no file; "/": a directory in its place.
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"no file yet", "\0"}, {"a kept file", kept}, {"garbage", "\x7f" "ELF\x02\x01 not records\n"}, {"empty", ""},
        {"truncated", file("1", "37", "3", "1", "")}, {"a newer version", file("2", "37", "3", "1")}, {"a directory", "/"},
        {"a score beyond the field", file("1", "131", "3", "0")}, {"negative runs", file("1", "37", "-3", "0")},
        {"runs beyond int32", file("1", "37", "2147483648", "0")}, {"more wins than runs", file("1", "37", "1", "2")}};
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        Folder folder;
        if (text == "/") fs::create_directories(folder.file() / "inside");
        else if (text != std::string(1, '\0')) put(folder.file(), text);
        const bool damaged = text != kept && text != std::string(1, '\0');
        Lines said;
        RecordBook(folder.path, [&](const std::string& line) { said.push_back(line); }).finishRun({false, 10, 20});
        EXPECT_EQ(folder.records(), text == kept ? records(37, 41, 4, 1) : records(10, {}, 1, 0));
        EXPECT_FALSE(fs::exists(folder.path / "records.new"));
        std::vector<fs::path> aside;
        for (const auto& entry : fs::directory_iterator(folder.path))
            if (entry.path().filename().string().rfind("records.damaged-", 0) == 0) aside.push_back(entry.path());
        ASSERT_EQ(std::make_pair(aside.size(), said.size()), std::make_pair(size_t(damaged), size_t(damaged)));
        if (!damaged) continue;
        EXPECT_EQ(said[0].rfind("Larkmere: the records file " + folder.file().string() + " cannot be read (", 0), 0u) << said[0];
        EXPECT_NE(said[0].find("moved it to " + aside[0].string()), std::string::npos) << said[0];
        EXPECT_TRUE(text == "/" ? fs::exists(aside[0] / "inside") : slurp(aside[0]) == text) << "kept as it was";
    }
}

TEST(RecordFile, FoldersThatCannotBeWrittenCostOneLineAndLeaveTheOldFile) {
    const std::string old = "larkmere-records 1\nbest-score 37\nbest-win-seconds none\nruns 3\nwins 0\n";
    for (const NoSpace fault : {NoSpace::Never, NoSpace::OnWrite, NoSpace::OnFsync}) {
        SCOPED_TRACE(static_cast<int>(fault));
        Folder folder;
        put(folder.file(), old);
        const bool readOnly = fault == NoSpace::Never;
        const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if (readOnly) fs::permissions(folder.path, writeBits, fs::perm_options::remove);
        // Two runs: the second is not reported again, and neither stops the game.
        Lines said;
        asPlayer(readOnly), noSpace = fault;
        RecordBook book(folder.path, [&](const std::string& line) { said.push_back(line); });
        const RecordLine first = book.finishRun({false, 50, 9}).line;
        book.waitForWrite();
        const int32_t second = book.finishRun({false, 60, 9}).records.bestScore;
        book.waitForWrite();
        noSpace = NoSpace::Never, asPlayer(false);
        EXPECT_EQ(std::make_pair(first, second), std::make_pair(RecordLine::NewScore, 60));
        ASSERT_EQ(said.size(), 1u) << (said.empty() ? "nothing said" : said.back());
        const std::string why = readOnly ? "Permission denied" : "No space left on device";
        EXPECT_TRUE(said[0].rfind("Larkmere: ", 0) == 0 && said[0].find(folder.path.string()) != std::string::npos &&
                    said[0].find(why) != std::string::npos) << said[0];
        EXPECT_EQ(slurp(folder.file()), old);
        EXPECT_FALSE(fs::exists(folder.path / "records.new"));
    }
}

TEST(RecordFile, TwoGamesAtOnceLoseNoRun) {
    Folder folder;
    const auto game = [&](int32_t first, bool wins) {
        RecordBook book(folder.path, [](const std::string& line) { ADD_FAILURE() << line; });
        for (int32_t i = 0; i < 40; ++i) book.finishRun({wins && i % 4 == 0, first + i, 100 - i});
    };
    std::thread other(game, 20, true);
    game(50, false);
    other.join();
    // One game won runs 0, 4, ... 36 in 100 - i seconds; the other scored up to 89.
    EXPECT_EQ(folder.records(), records(89, 64, 80, 10));
}

TEST(RecordFile, AKillAtAnyInstantLeavesOldOrNewRecordsNeverLess) {
    Folder folder;
    std::mt19937 random(19);
    int killedMidWrite = 0;
    Records last;
    for (int i = 0; i < 300; ++i) {
        const pid_t writer = fork();
        if (writer == 0) {
            RecordBook book(folder.path, [](const std::string&) {});
            for (int32_t score = 0;; score = (score + 1) % 100) book.finishRun({score % 7 == 0, score, 30 + score});
        }
        usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));  // the instant of the kill
        kill(writer, SIGKILL), waitpid(writer, nullptr, 0);
        killedMidWrite += fs::exists(folder.path / "records.new");
        const RecordRead read = readRecordFile(folder.file());
        const bool fine = read.status == ReadStatus::Read || (read.status == ReadStatus::Missing && last.runs == 0);
        ASSERT_TRUE(fine) << read.why << " after kill " << i;
        ASSERT_TRUE(read.records.runs >= last.runs && read.records.bestScore >= last.bestScore) << "fewer after kill " << i;
        last = read.records;
    }
    EXPECT_GT(killedMidWrite, 0) << "no kill came during a write";
    EXPECT_GT(last.runs, 0);
}
