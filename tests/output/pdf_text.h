#pragma once
// A PDF read back with poppler-utils: the text of each page, and the capacity table's
// (level, value) pairs in reading order.

#include <algorithm>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace kelvora::test {

inline std::string run(const std::string& command) {
    std::string out;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[1 << 16];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

inline std::string withoutBlanks(std::string s) {
    std::erase_if(s, [](unsigned char c) { return c == ' ' || c == '\n'; });
    return s;
}

// The text of each page, as pdftotext -layout gives it.
inline std::vector<std::string> pagesOf(const std::string& pdf) {
    std::vector<std::string> pages;
    std::istringstream text(run("pdftotext -layout '" + pdf + "' - 2>&1"));
    for (std::string page; std::getline(text, page, '\f');)
        pages.push_back(page);
    return pages;
}

// The words of every line of `page` made only of words matching `word`, line by line.
inline std::vector<std::vector<std::string>> numericLines(const std::string& page, const std::regex& word) {
    std::vector<std::vector<std::string>> result;
    std::istringstream lines(page);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> tokens;
        bool numeric = true;
        for (std::string w; words >> w;) {
            numeric = numeric && std::regex_match(w, word);
            tokens.push_back(w);
        }
        if (numeric && !tokens.empty()) result.push_back(std::move(tokens));
    }
    return result;
}

// The table's pairs in reading order: on each page the lines made only of numbers hold
// pair j in their tokens 2j and 2j+1; the pairs fill from the left, so a short line
// belongs to the first pairs.
inline std::vector<std::pair<std::string, std::string>> tableOf(const std::vector<std::string>& pages) {
    static const std::regex numberToken(R"(-?[0-9]+(\.[0-9]+)?(E[-+]?[0-9]+)?)");
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& page : pages) {
        std::vector<std::vector<std::pair<std::string, std::string>>> columns;
        for (const auto& tokens : numericLines(page, numberToken)) {
            if (tokens.size() % 2 != 0) continue;
            columns.resize(std::max(columns.size(), tokens.size() / 2));
            for (std::size_t j = 0; j < tokens.size() / 2; ++j)
                columns[j].emplace_back(tokens[2 * j], tokens[2 * j + 1]);
        }
        for (const auto& column : columns)
            pairs.insert(pairs.end(), column.begin(), column.end());
    }
    return pairs;
}

} // namespace kelvora::test
