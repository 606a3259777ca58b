#include "platform/ListText.h"

namespace vantrel {

namespace {

// Cells joined by a separator, each as `field` gives it, and CR LF.
template <class Field>
std::string Line(const std::vector<std::string>& cells, char separator, Field field) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i != 0) line.push_back(separator);
        line += field(cells[i]);
    }
    return line + "\r\n";
}

std::string Plain(const std::string& cell) {
    std::string text = cell;
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return text;
}

std::string CsvField(const std::string& cell) {
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string text = "\"";
    for (const char c : cell) {
        if (c == '"') text.push_back('"');
        text.push_back(c);
    }
    return text + "\"";
}

}  // namespace

std::string TabSeparated(const ReviewList& list, const std::vector<std::size_t>& order) {
    std::string text = Line(list.columns, '\t', Plain);
    for (const std::size_t i : order) text += Line(list.rows[i].cells, '\t', Plain);
    return text;
}

std::string CommaSeparated(const std::vector<std::vector<std::string>>& lines) {
    std::string text;
    for (const std::vector<std::string>& cells : lines) text += Line(cells, ',', CsvField);
    return text;
}

}  // namespace vantrel
