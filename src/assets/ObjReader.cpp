// The OBJ subset the duck uses, read defensively: "v", "vn", "vt" and "f" lines, corners
// as v, v/vt, v//vn or v/vt/vn, faces of three or more corners. A "v", "vn" or "vt" line
// always counts, whatever its numbers; a face line that does not have its form is skipped,
// and so is a face when any index misses its list.
#include "assets/ObjReader.h"

#include "assets/AssetFile.h"
#include "core/Language.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale.h>
#include <system_error>

namespace {

// The characters sscanf treats as white space; '\n' never occurs inside a line.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

// Hands out the white-space separated words of a line one by one.
class Words {
public:
    explicit Words(std::string_view text) : rest_(text) {}

    bool next(std::string_view& word) {
        std::size_t begin = 0;
        while (begin < rest_.size() && isBlank(rest_[begin])) ++begin;
        if (begin == rest_.size()) return false;
        std::size_t end = begin;
        while (end < rest_.size() && !isBlank(rest_[end])) ++end;
        word = rest_.substr(begin, end - begin);
        rest_.remove_prefix(end);
        return true;
    }

private:
    std::string_view rest_;
};

// from_chars takes no leading '+'; sscanf does, so allow exactly one.
std::string_view withoutPlus(std::string_view word) {
    if (word.size() > 1 && word[0] == '+' && word[1] != '+' && word[1] != '-') word.remove_prefix(1);
    return word;
}

// A number as a float; every word reads as one, so that a line always takes its index and
// later faces keep naming the elements they mean. Beyond a float's range is clamped to
// the largest float, below it reads as 0 (denormals are kept), and no number reads as 0.
float readNumber(std::string_view word) {
    // strtod in the C locale, whatever locale the process runs in: it tells overflow from
    // underflow, where from_chars only reports "out of range".
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string text(word);
    char* end = nullptr;
    const double value = strtod_l(text.c_str(), &end, cLocale);
    if (text.empty() || end != text.c_str() + text.size() || std::isnan(value)) return 0.0f;
    return static_cast<float>(std::clamp(value, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

bool parseInt(std::string_view word, int64_t& out) {
    word = withoutPlus(word);
    if (word.empty()) return false;
    const char* end = word.data() + word.size();
    auto [ptr, ec] = std::from_chars(word.data(), end, out);
    return ec == std::errc() && ptr == end;
}

// The first three numbers after the keyword; missing ones read as 0. Further words (a w,
// vertex colours) are left alone.
ObjTriple readTriple(std::string_view rest) {
    Words words(rest);
    float values[3] = {0.0f, 0.0f, 0.0f};
    std::string_view word;
    for (int count = 0; count < 3 && words.next(word); ++count) values[count] = readNumber(word);
    return {values[0], values[1], values[2]};
}

// A 1-based index becomes 0-based (checked against the final list later, so forward
// references work); a negative one counts back from the elements read so far.
bool resolveIndex(int64_t raw, std::size_t readSoFar, int32_t& out) {
    int64_t index = 0;
    if (raw > 0) {
        index = raw - 1;
    } else if (raw < 0) {
        index = static_cast<int64_t>(readSoFar) + raw;
        if (index < 0) return false;
    } else {
        return false;
    }
    if (index > std::numeric_limits<int32_t>::max()) return false;
    out = static_cast<int32_t>(index);
    return true;
}

struct Corner {
    int32_t vertex = ObjNoIndex;
    int32_t texCoord = ObjNoIndex;
    int32_t normal = ObjNoIndex;
};

// One corner word: "v", "v/vt", "v//vn" or "v/vt/vn".
bool parseCorner(std::string_view word, const ObjModel& model, Corner& corner) {
    std::string_view parts[3];
    std::size_t count = 0;
    while (true) {
        if (count == 3) return false;
        const std::size_t slash = word.find('/');
        parts[count++] = word.substr(0, slash);
        if (slash == std::string_view::npos) break;
        word.remove_prefix(slash + 1);
    }
    int64_t raw = 0;
    if (!parseInt(parts[0], raw) || !resolveIndex(raw, model.positions.size(), corner.vertex)) return false;
    if (count >= 2 && !(count == 3 && parts[1].empty())) {
        if (!parseInt(parts[1], raw) || !resolveIndex(raw, model.texCoords.size(), corner.texCoord)) return false;
    }
    if (count == 3) {
        if (!parseInt(parts[2], raw) || !resolveIndex(raw, model.normals.size(), corner.normal)) return false;
    }
    return true;
}

bool parseFace(std::string_view rest, const ObjModel& model, ObjFace& face) {
    Words words(rest);
    std::string_view word;
    while (words.next(word)) {
        Corner corner;
        if (!parseCorner(word, model, corner)) return false;
        face.vertex.push_back(corner.vertex);
        face.texCoord.push_back(corner.texCoord);
        face.normal.push_back(corner.normal);
    }
    return face.corners() >= 3;
}

void readLine(std::string_view line, ObjModel& model) {
    if (line.empty()) return;
    if (line[0] == 'v' && line.size() >= 2) {
        switch (line[1]) {
            case ' ':
                model.positions.push_back(readTriple(line.substr(2)));
                break;
            case 'n':
                model.normals.push_back(readTriple(line.substr(2)));
                break;
            case 't':
                model.texCoords.push_back(readTriple(line.substr(2)));
                break;
            default:
                break;
        }
    } else if (line[0] == 'f') {
        ObjFace face;
        if (parseFace(line.substr(1), model, face)) model.faces.push_back(std::move(face));
    }
    // Comments, names, groups, materials and lines led by white space carry nothing.
}

bool inRange(int32_t index, std::size_t size) { return index >= 0 && static_cast<std::size_t>(index) < size; }

bool optionalInRange(int32_t index, std::size_t size) { return index == ObjNoIndex || inRange(index, size); }

}  // namespace

ObjModel readObj(std::string_view text) {
    ObjModel model;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        readLine(line, model);
    }
    // Forward references are legal, so only now can a face be checked against its lists.
    std::vector<ObjFace> kept;
    kept.reserve(model.faces.size());
    for (ObjFace& face : model.faces) {
        if (objFaceValid(model, face)) kept.push_back(std::move(face));
    }
    model.faces = std::move(kept);
    return model;
}

ObjFileRead readObjFile(const std::string& path) {
    // Plain stdio, so every failure (missing, a directory, no permission, an I/O error) is
    // a return value with a reason rather than an exception.
    std::string text, why;
    std::uintmax_t size = 0;
    std::FILE* file = openAsset(path, why, &size);
    if (file != nullptr && size > MaxModelBytes) {
        why = formatText(tr("it is %ju bytes, more than the %ju a model may have"), size, MaxModelBytes);
        std::fclose(file);
        file = nullptr;
    }
    char buffer[1 << 16];
    // The limit holds even if the file grows while it is read.
    for (std::size_t n; file != nullptr && text.size() <= MaxModelBytes && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, n);
    }
    if (file != nullptr && std::ferror(file)) why = std::strerror(errno);
    if (file != nullptr && text.size() > MaxModelBytes) why = formatText(tr("it grew past the %ju bytes a model may have"), MaxModelBytes);
    if (file != nullptr) std::fclose(file);
    if (!why.empty()) return {{}, formatText(tr("Larkmere: cannot read the model \"%s\": %s\n"), printable(path).c_str(), why.c_str())};
    ObjModel model = readObj(text);
    if (model.faces.size() > MaxModelFaces) {
        return {{}, formatText(tr("Larkmere: cannot use the model \"%s\": it has %zu faces, more than the %zu the game draws\n"),
                               printable(path).c_str(), model.faces.size(), MaxModelFaces)};
    }
    if (model.faces.empty()) std::fprintf(stderr, tr("Larkmere: the model \"%s\" has no faces to draw\n"), printable(path).c_str());
    return {std::move(model), ""};
}

bool objFaceValid(const ObjModel& model, const ObjFace& face) {
    const std::size_t corners = face.vertex.size();
    if (corners < 3 || face.texCoord.size() != corners || face.normal.size() != corners) return false;
    for (std::size_t k = 0; k < corners; ++k) {
        if (!inRange(face.vertex[k], model.positions.size())) return false;
        if (!optionalInRange(face.texCoord[k], model.texCoords.size())) return false;
        if (!optionalInRange(face.normal[k], model.normals.size())) return false;
    }
    return true;
}

ObjCorner objCorner(const ObjModel& model, const ObjFace& face, std::size_t k, float scale) {
    ObjCorner corner;
    if (face.texCoord[k] != ObjNoIndex) {
        const ObjTriple& uv = model.texCoords[face.texCoord[k]];
        corner.hasTexCoord = true;
        corner.s = uv.x;
        corner.t = -uv.y;  // the picture is uploaded bottom row first; the file's v runs from the top
    }
    if (face.normal[k] != ObjNoIndex) {
        corner.hasNormal = true;
        corner.normal = model.normals[face.normal[k]];
    }
    const ObjTriple& p = model.positions[face.vertex[k]];
    corner.position = {p.x * scale, p.y * scale, p.z * scale};
    return corner;
}
