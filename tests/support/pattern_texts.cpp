#include "support/pattern_texts.h"

#include <algorithm>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace tessera::test {

Cells SeededSoup(uint32_t seed, int32_t left, int32_t top, int32_t width, int32_t height, int percent) {
    std::mt19937 random(seed);
    return RandomSoup(random, left, top, width, height, percent / 100.0);
}

namespace {

// Row by row: y -> sorted x.
std::map<int32_t, std::vector<int32_t>> Rows(const Cells& cells) {
    std::map<int32_t, std::vector<int32_t>> rows;
    for (const auto& [x, y] : cells) rows[y].push_back(x);
    for (auto& [y, xs] : rows) std::sort(xs.begin(), xs.end());
    return rows;
}

// Items are never split across lines: the reader starts each line with a fresh count.
void AppendItem(std::string& out, int count, char letter) {
    if (count <= 0) return;
    const size_t lineStart = out.rfind('\n') == std::string::npos ? 0 : out.rfind('\n') + 1;
    if (out.size() - lineStart > 60) out += '\n';
    if (count > 1) out += std::to_string(count);
    out += letter;
}

}  // namespace

std::string ToRle(const Cells& cells, const std::string& ruleText) {
    const CLRect b = BoundsOf(cells);
    std::string body;
    int32_t row = b.top;
    for (const auto& [y, xs] : Rows(cells)) {
        AppendItem(body, y - row, '$');
        row = y;
        int32_t column = b.left;
        for (size_t i = 0; i < xs.size();) {
            size_t j = i;
            while (j + 1 < xs.size() && xs[j + 1] == xs[j] + 1) ++j;
            AppendItem(body, xs[i] - column, 'b');
            AppendItem(body, static_cast<int>(j - i + 1), 'o');
            column = xs[j] + 1;
            i = j + 1;
        }
    }
    return "#N soup\n#C written by the test\nx = " + std::to_string(b.right - b.left) +
           ", y = " + std::to_string(b.bottom - b.top) + ", rule = " + ruleText + "\n" + body + "!\n";
}

std::string ToPictures(const Cells& cells, const std::string& ruleText) {
    const CLRect b = BoundsOf(cells);
    std::ostringstream out;
    out << "#C pictures written by the test\n#r " << ruleText << "\n#P " << b.left << " " << b.top << "\n";
    for (int32_t y = b.top; y < b.bottom; ++y) {
        for (int32_t x = b.left; x < b.right; ++x) out << (cells.count({x, y}) ? '*' : '.');
        out << "\n";
    }
    return out.str();
}

std::string ToLife106(const Cells& cells) {
    std::ostringstream out;
    out << "#Life 1.06\n";
    for (const auto& [x, y] : cells) out << x << " " << y << "\n";
    return out.str();
}

std::string ToGameFile(const Cells& cells, const std::string& ruleText) {
    std::ostringstream out;
    out << "! a game written by the test\nGAME\n AGE 0\nGENERATION 1\nRULE " << ruleText << "\n";
    for (const auto& [y, xs] : Rows(cells)) {
        out << y << "," << xs[0];
        size_t i = 0;
        for (;;) {
            size_t j = i;
            while (j + 1 < xs.size() && xs[j + 1] == xs[j] + 1) ++j;
            if (j > i) out << ":" << (j - i + 1);
            if (j + 1 >= xs.size()) break;
            out << " " << (xs[j + 1] - xs[j]);
            i = j + 1;
        }
        out << ";\n";
    }
    out << "ENDPATTERN\nENDGAME\n";
    return out.str();
}

namespace {

void ReadRleBody(std::istringstream& in, Cells& cells) {
    int32_t x = 0, y = 0, count = 0;
    for (char c; in.get(c);) {
        if (c >= '0' && c <= '9') {
            count = count * 10 + (c - '0');
            continue;
        }
        const int n = count ? count : 1;
        count = 0;
        if (c == '!') return;
        if (c == '$') {
            y += n;
            x = 0;
        } else if (c == 'o') {
            for (int i = 0; i < n; ++i) cells.insert({x++, y});
        } else if (c == 'b') {
            x += n;
        }
    }
    throw std::runtime_error("RLE without its final !");
}

// Row records "y,x[:n] [d[:n]]...;" up to ENDPATTERN.
void ReadGameRows(std::istringstream& in, Cells& cells) {
    std::string token;
    while (in >> std::ws && in.peek() != EOF) {
        if (in.peek() == 'E') {
            in >> token;
            if (token != "ENDPATTERN") throw std::runtime_error("unexpected " + token);
            return;
        }
        if (in.peek() == 'M' || in.peek() == 'R') {  // MAXROWPOP n, RULE notation
            std::getline(in, token);
            continue;
        }
        int32_t y = 0, x = 0, n = 1;
        char comma = 0;
        in >> y >> comma >> x;
        for (;;) {
            in >> std::ws;
            n = 1;
            if (in.peek() == ':') {
                in.get();
                in >> n;
            }
            for (int i = 0; i < n; ++i) cells.insert({x + i, y});
            x += n - 1;
            in >> std::ws;
            if (in.peek() == ';') {
                in.get();
                break;
            }
            int32_t distance = 0;
            if (!(in >> distance)) throw std::runtime_error("bad row record");
            x += distance;
        }
    }
    throw std::runtime_error("no ENDPATTERN");
}

}  // namespace

Cells ReadToolPattern(const std::string& text, int32_t generation) {
    Cells cells;
    std::istringstream in(text);
    std::string line;
    bool inPicture = false;
    int32_t left = 0, y = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("#P", 0) == 0) {
            std::istringstream numbers(line.substr(2));
            numbers >> left >> y;
            inPicture = true;
        } else if (line.rfind("x = ", 0) == 0) {
            ReadRleBody(in, cells);
            inPicture = false;
        } else if (line.rfind("GENERATION ", 0) == 0) {
            std::istringstream words(line.substr(11));
            int32_t number = 0;
            words >> number;
            if (number == generation + 1) {
                ReadGameRows(in, cells);
                return cells;
            }
        } else if (inPicture && !line.empty() && line[0] != '#') {
            for (size_t i = 0; i < line.size(); ++i)
                if (line[i] == '*') cells.insert({left + static_cast<int32_t>(i), y});
            ++y;
        } else {
            inPicture = false;
        }
    }
    return cells;
}

std::map<std::string, std::string> SummaryOf(const std::string& out) {
    std::string text = out;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    const size_t start = text.rfind('\n');
    std::istringstream words(start == std::string::npos ? text : text.substr(start + 1));
    std::map<std::string, std::string> pairs;
    for (std::string word; words >> word;) {
        const size_t equals = word.find('=');
        if (equals != std::string::npos) pairs[word.substr(0, equals)] = word.substr(equals + 1);
    }
    return pairs;
}

std::string PatternPartOf(const std::string& out) {
    std::string text = out;
    if (!text.empty() && text.back() == '\n') text.pop_back();
    const size_t start = text.rfind('\n');
    return start == std::string::npos ? std::string() : text.substr(0, start + 1);
}

}  // namespace tessera::test
