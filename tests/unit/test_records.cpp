// The records: the rule a finished run applies, and the file kept safe through damage, full
// and read-only disks, two games at once and a kill at any instant.
#include <gtest/gtest.h>

#include <dlfcn.h>
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

// What a folder does to the game's writes. A full disk: write() to a file or fsync() fails with ENOSPC.
enum class Fault { None, ReadOnly, FullOnWrite, FullOnFsync };
static std::atomic<Fault> fault{Fault::None};
extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static auto real = reinterpret_cast<ssize_t (*)(int, const void*, size_t)>(dlsym(RTLD_NEXT, "write"));
    struct stat info{};
    if (fault == Fault::FullOnWrite && fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) return errno = ENOSPC, -1;
    return real(fd, data, size);
}
extern "C" int fsync(int fd) {
    static auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    if (fault == Fault::FullOnFsync) return errno = ENOSPC, -1;
    return real(fd);
}

static std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A fresh folder for records, under a temporary data home that a test never shares.
struct Folder {
    fs::path path;
    Folder() {
        char base[] = "/tmp/larkmere-records-XXXXXX";
        path = fs::path(mkdtemp(base)) / "larkmere";
        fs::create_directories(path);
        fs::permissions(path.parent_path(), fs::perms(0711));
    }
    ~Folder() { fs::remove_all(path.parent_path()); }
    fs::path file() const { return path / "records"; }
};

// As root, folder modes bind nobody: the run is made as nobody, as a player meets them.
static void asPlayer(bool drop) {
    if (getuid() == 0) {
        EXPECT_EQ(drop ? (setegid(65534) | seteuid(65534)) : (seteuid(0) | setegid(0)), 0);
    }
}

TEST(Records, EachRunAgainstTheRecordsGivesTheNewRecordsAndTheLineShown) {
    const Records none, lost{40, {}, 3, 0}, won{125, 50, 5, 2};
    const std::string toBeat = "Record: 125   Mejor tiempo: 00 : 50";
    // The line shown names which records the run beat, so it also tells the outcome's kind.
    const struct { const char* name; Records old; RunResult run; Records now; std::string line; } cases[] = {
        {"first run", none, {false, 12, 30}, {12, {}, 1, 0}, "NUEVO RECORD!"}, {"a tie", lost, {false, 40, 9}, {40, {}, 4, 0}, "Record: 40"},
        {"first run, no score", none, {false, 0, 3}, {0, {}, 1, 0}, "Record: 0"}, {"a win slower", won, {true, 122, 51}, {125, 50, 6, 3}, toBeat},
        {"lost below the best", lost, {false, 39, 80}, {40, {}, 4, 0}, "Record: 40"},
        {"lost above the best", lost, {false, 41, 80}, {41, {}, 4, 0}, "NUEVO RECORD!"},
        {"a first win", lost, {true, 121, 65}, {121, 65, 4, 1}, "NUEVO RECORD Y MEJOR TIEMPO!"},
        {"a win as fast", won, {true, 121, 50}, {125, 50, 6, 3}, toBeat}, {"a loss after wins", won, {false, 60, 600}, {125, 50, 6, 2}, toBeat},
        {"a win faster", won, {true, 121, 49}, {125, 49, 6, 3}, "NUEVO MEJOR TIEMPO!"}};
    for (const auto& c : cases) {
        const RecordOutcome outcome = applyRun(c.old, c.run);
        EXPECT_EQ(outcome.records, c.now) << c.name << ": " << formatRecords(outcome.records);
        EXPECT_EQ(recordLineText(outcome), c.line) << c.name;
    }
}

TEST(RecordFile, KeptThroughDamageFullAndReadOnlyDisksTwoGamesAtOnceAndAKillAtAnyInstant) {
    const auto file = [](const char* version, const char* score, const char* runs, const char* wins) {
        return std::string("larkmere-records ") + version + "\nbest-score " + score + "\nbest-win-seconds " +
               (std::string(wins) == "0" ? "none" : "41") + "\nruns " + runs + "\nwins " + wins + "\n";
    };
    const std::string kept = file("1", "37", "3", "1"), noWin = file("1", "37", "3", "0"), fresh = file("1", "60", "2", "0"), moved = "moved it to ";
    // Each folder takes two lost runs, of 50 then 60 points. `said`: how the one line said goes on.
    struct Case { const char* name; std::optional<std::string> text; Fault fault; std::string after, said; };
    std::vector<Case> cases = {  // text: none for no file, "/" for a directory
        {"no file yet", {}, Fault::None, fresh, ""}, {"a kept file", kept, Fault::None, file("1", "60", "5", "1"), ""},
        {"a read-only folder", noWin, Fault::ReadOnly, noWin, "Permission denied"},
        {"a full disk on write", noWin, Fault::FullOnWrite, noWin, "No space left on device"},
        {"a full disk on fsync", noWin, Fault::FullOnFsync, noWin, "No space left on device"}};
    const std::pair<const char*, std::string> damaged[] = {{"garbage", "\x7f" "ELF\x02\x01 not records\n"}, {"empty", ""},
        {"a directory", "/"}, {"truncated", kept.substr(0, kept.size() - 1)}, {"a newer version", file("2", "37", "3", "1")},
        {"a score beyond the field", file("1", "131", "3", "0")}, {"negative runs", file("1", "37", "-3", "0")},
        {"runs beyond int32", file("1", "37", "2147483648", "0")}, {"more wins than runs", file("1", "37", "1", "2")}};
    for (const auto& [name, text] : damaged) cases.push_back({name, text, Fault::None, fresh, moved});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder folder;
        if (c.text == "/") fs::create_directories(folder.file() / "inside");
        else if (c.text) std::ofstream(folder.file(), std::ios::binary) << *c.text;
        if (c.fault == Fault::ReadOnly) fs::permissions(folder.path, fs::perms(0555));
        std::vector<std::string> said;
        asPlayer(c.fault == Fault::ReadOnly), fault = c.fault;
        RecordBook book(folder.path, [&](const std::string& line) { said.push_back(line); });
        const RecordLine first = book.finishRun({false, 50, 9}).line;  // the next run waits for this write
        const int32_t second = book.finishRun({false, 60, 9}).records.bestScore;  // the game plays on
        book.waitForWrite();
        fault = Fault::None, asPlayer(false);
        fs::permissions(folder.path, fs::perms::owner_all);  // writable again, to be removed
        EXPECT_EQ(std::make_pair(first, second), std::make_pair(RecordLine::NewScore, 60));
        EXPECT_EQ(slurp(folder.file()), c.after);
        EXPECT_FALSE(fs::exists(folder.path / "records.new"));
        std::vector<fs::path> aside;
        for (const fs::path& entry : fs::directory_iterator(folder.path))
            if (entry.filename().string().rfind("records.damaged-", 0) == 0) aside.push_back(entry);
        const bool damaged = c.said == moved;
        ASSERT_EQ(aside.size(), size_t(damaged));
        ASSERT_EQ(said.size(), size_t(!c.said.empty()));
        if (said.empty()) continue;
        const std::string lead = damaged ? "the records file " + folder.file().string() + " cannot be read (" : "";
        EXPECT_EQ(said[0].rfind("Larkmere: " + lead, 0), 0u) << said[0];
        EXPECT_NE(said[0].find(folder.path.string()), std::string::npos) << said[0];
        EXPECT_NE(said[0].find(c.said + (damaged ? aside[0].string() : "")), std::string::npos) << said[0];
        if (!damaged) continue;
        EXPECT_TRUE(c.text == "/" ? fs::exists(aside[0] / "inside") : slurp(aside[0]) == c.text) << "kept as it was";
    }

    // Two games at once lose no run; then a kill at any instant leaves the old records or the new ones.
    Folder folder;
    const auto game = [&](int32_t first, bool wins) {
        RecordBook book(folder.path, [](const std::string& line) { ADD_FAILURE() << line; });
        for (int32_t i = 0; i < 40; ++i) book.finishRun({wins && i % 4 == 0, first + i, 100 - i});
    };
    std::thread other(game, 20, true);
    game(50, false);
    other.join();
    // One game won runs 0, 4, ... 36 in 100 - i seconds; the other scored up to 89.
    Records last = readRecordFile(folder.file()).records;
    EXPECT_EQ(last, (Records{89, 64, 80, 10}));
    // Then a game killed at a random instant, again and again: each time a whole file, never fewer runs.
    std::mt19937 random(19);
    int killedMidWrite = 0;
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
        ASSERT_EQ(read.status, ReadStatus::Read) << read.why << " after kill " << i;
        ASSERT_TRUE(read.records.runs >= last.runs && read.records.bestScore >= last.bestScore) << "fewer after " << i;
        last = read.records;
    }
    EXPECT_GT(killedMidWrite, 0) << "no kill came during a write";
    EXPECT_GT(last.runs, 80);
}
