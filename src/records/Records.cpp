// The records rule and the records file's text.
#include "records/Records.h"

#include <climits>
#include <sstream>
#include <vector>

#include "core/Language.h"
#include "render/Overlay.h"
#include "world/Rules.h"

RecordOutcome applyRun(const Records& old, const RunResult& run) {
    RecordOutcome outcome{old, RecordLine::ToBeat};
    Records& now = outcome.records;
    now.runs = old.runs < INT32_MAX ? old.runs + 1 : old.runs;
    const bool newScore = run.score > old.bestScore;
    if (newScore) now.bestScore = run.score;
    bool newTime = false;
    if (run.won) {
        now.wins = old.wins < INT32_MAX ? old.wins + 1 : old.wins;
        newTime = !old.bestWinSeconds || run.seconds < *old.bestWinSeconds;
        if (newTime) now.bestWinSeconds = run.seconds;
    }
    outcome.line = newScore && newTime ? RecordLine::NewScoreAndTime
                   : newScore          ? RecordLine::NewScore
                   : newTime           ? RecordLine::NewTime
                                       : RecordLine::ToBeat;
    return outcome;
}

std::string recordLineText(const RecordOutcome& outcome) {
    switch (outcome.line) {
        case RecordLine::NewScore: return tr("NUEVO RECORD!");
        case RecordLine::NewTime: return tr("NUEVO MEJOR TIEMPO!");
        case RecordLine::NewScoreAndTime: return tr("NUEVO RECORD Y MEJOR TIEMPO!");
        case RecordLine::ToBeat: break;
    }
    if (!outcome.records.bestWinSeconds) return formatText(tr("Record: %d"), outcome.records.bestScore);
    return formatText(tr("Record: %d   Mejor tiempo: %s"), outcome.records.bestScore, formatPlayTime(*outcome.records.bestWinSeconds).c_str());
}

// The target cannot leave the field, whose far edge is at z -70.
int32_t maxRecordScore() { return -progressFor(-70.0f); }

std::string formatRecords(const Records& records) {
    std::ostringstream text;
    text << "larkmere-records " << RecordsVersion << "\n"
         << "best-score " << records.bestScore << "\n"
         << "best-win-seconds " << (records.bestWinSeconds ? std::to_string(*records.bestWinSeconds) : "none") << "\n"
         << "runs " << records.runs << "\n"
         << "wins " << records.wins << "\n";
    return text.str();
}

namespace {
// A plain decimal in [0, max]: digits only, no sign, no leading zero, no blank.
bool parseCount(const std::string& text, int64_t max, int32_t& value) {
    if (text.empty() || text.size() > 10 || (text.size() > 1 && text[0] == '0')) return false;
    int64_t n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    if (n > max) return false;
    value = static_cast<int32_t>(n);
    return true;
}
}  // namespace

std::optional<Records> parseRecords(const std::string& text, std::string& why) {
    // A last line without its end may be a cut-off number: "wins 12" cut to "wins 1".
    if (text.empty() || text.back() != '\n') {
        why = text.empty() ? tr("it is empty") : tr("its last line is cut off");
        return std::nullopt;
    }
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const std::string header = "larkmere-records ";
    if (lines[0].compare(0, header.size(), header) != 0) {
        why = tr("it does not start with \"larkmere-records\"");
        return std::nullopt;
    }
    int32_t version = 0;
    if (!parseCount(lines[0].substr(header.size()), INT32_MAX, version) || version == 0) {
        why = tr("its version is not a number");
        return std::nullopt;
    }
    if (version > RecordsVersion) {
        why = formatText(tr("it was written by a newer Larkmere (version %d)"), static_cast<int>(version));
        return std::nullopt;
    }
    Records records;
    int32_t winSeconds = 0;
    const std::vector<std::pair<std::string, int32_t*>> fields = {
        {"best-score", &records.bestScore}, {"best-win-seconds", &winSeconds}, {"runs", &records.runs}, {"wins", &records.wins}};
    if (lines.size() != fields.size() + 1) {
        why = formatText(tr("it has %zu lines, not %zu"), lines.size(), fields.size() + 1);
        return std::nullopt;
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string& line = lines[i + 1];
        const std::string& name = fields[i].first;
        if (line.compare(0, name.size() + 1, name + " ") != 0) {
            why = formatText(tr("line %zu is not \"%s\""), i + 2, name.c_str());
            return std::nullopt;
        }
        const std::string value = line.substr(name.size() + 1);
        if (name == "best-win-seconds" && value == "none") continue;
        if (name == "best-win-seconds") records.bestWinSeconds = 0;
        const int64_t max = name == "best-score" ? maxRecordScore() : INT32_MAX;
        if (!parseCount(value, max, *fields[i].second)) {
            why = formatText(tr("%s \"%s\" is not a number from 0 to %lld"), name.c_str(), value.c_str(), static_cast<long long>(max));
            return std::nullopt;
        }
    }
    if (records.bestWinSeconds) records.bestWinSeconds = winSeconds;
    if (records.wins > records.runs || (records.wins > 0) != records.bestWinSeconds.has_value() ||
        (records.runs == 0 && records.bestScore > 0)) {
        why = tr("its records contradict each other");
        return std::nullopt;
    }
    return records;
}
