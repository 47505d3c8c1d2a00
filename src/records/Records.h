// A player's records across runs (best score, best winning time, runs and wins), the rule a
// finished run applies to them, and their text form on disk. No files here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct Records {
    int32_t bestScore = 0;
    std::optional<int32_t> bestWinSeconds;  // none until a run is won
    int32_t runs = 0;
    int32_t wins = 0;
};

inline bool operator==(const Records& a, const Records& b) {
    return a.bestScore == b.bestScore && a.bestWinSeconds == b.bestWinSeconds && a.runs == b.runs && a.wins == b.wins;
}

// A run as its end screen shows it.
struct RunResult {
    bool won = false;
    int32_t score = 0;
    int32_t seconds = 0;
};

// What the end screen's record line says: the records to beat, or which ones the run beat.
enum class RecordLine { ToBeat, NewScore, NewTime, NewScoreAndTime };

struct RecordOutcome {
    Records records;
    RecordLine line = RecordLine::ToBeat;
};

// The records after a run, and the line its end screen shows. A tie beats nothing.
RecordOutcome applyRun(const Records& old, const RunResult& run);
// The line's text: what was beaten, or the records to beat (with the best time once won).
std::string recordLineText(const RecordOutcome& outcome);

// The highest score a run can show: the far edge of the field.
int32_t maxRecordScore();
constexpr int RecordsVersion = 1;

// The file's text: a header with the version, then one "name value" line per record.
std::string formatRecords(const Records& records);
// Strict reading: the exact header and names, each once, plain decimal numbers in range and
// consistent with each other. On failure returns none and says why in `why`.
std::optional<Records> parseRecords(const std::string& text, std::string& why);
