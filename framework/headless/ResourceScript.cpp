// Reads the dialog templates of the program's resource script for the in-memory backend,
// so that native tests run the very templates the Windows build carries.

#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "framework/headless/HeadlessUser.h"

namespace Headless {
namespace {

// Splits a statement into words: quoted strings (with "" as a quote), and runs of other
// characters between commas and spaces.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
      ++i;
    } else if (c == '"') {
      std::string text;
      for (++i; i < line.size(); ++i) {
        if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
          text += '"';
          ++i;
        } else if (line[i] == '"') {
          ++i;
          break;
        } else {
          text += line[i];
        }
      }
      words.push_back('"' + text);  // a leading quote marks a string
    } else {
      std::size_t end = line.find_first_of(" \t,\r", i);
      if (end == std::string::npos) end = line.size();
      words.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

class Reader {
 public:
  explicit Reader(std::map<std::string, long> names) : Names(std::move(names)) {}

  long Number(const std::string& word) const {
    auto found = Names.find(word);
    if (found != Names.end()) return found->second;
    static const std::map<std::string, long> system = {{"IDOK", 1}, {"IDCANCEL", 2}};
    if (auto known = system.find(word); known != system.end()) return known->second;
    std::size_t used = 0;
    long value = std::stol(word, &used, 0);
    if (used != word.size()) throw std::invalid_argument("unknown identifier " + word);
    return value;
  }

  static std::string Text(const std::string& word) {
    if (word.empty() || word[0] != '"') throw std::invalid_argument("expected a string, found " + word);
    return word.substr(1);
  }

 private:
  std::map<std::string, long> Names;
};

std::map<std::string, long> ReadDefines(std::istream& header) {
  std::map<std::string, long> names;
  std::string line;
  while (std::getline(header, line)) {
    std::vector<std::string> words = Words(line);
    if (words.size() == 3 && words[0] == "#define") names[words[1]] = std::stol(words[2], nullptr, 0);
  }
  return names;
}

}  // namespace

bool LoadResourceScript(const std::string& scriptPath, const std::string& headerPath, std::string* error) {
  std::ifstream header(headerPath), script(scriptPath);
  if (!header || !script) {
    *error = "cannot read " + (header ? scriptPath : headerPath);
    return false;
  }
  Reader reader(ReadDefines(header));
  std::string line;
  int lineNumber = 0;
  try {
    std::optional<std::pair<UINT, DialogTemplate>> open;  // the dialog being read
    bool inControls = false;
    while (std::getline(script, line)) {
      ++lineNumber;
      std::vector<std::string> w = Words(line);
      if (w.empty() || w[0].starts_with("//") || w[0].starts_with("#")) continue;
      if (!open) {
        if (w.size() == 6 && (w[1] == "DIALOGEX" || w[1] == "DIALOG")) {
          DialogTemplate t;
          t.Extended = w[1] == "DIALOGEX";
          t.Width = static_cast<int>(reader.Number(w[4]));
          t.Height = static_cast<int>(reader.Number(w[5]));
          // Roughly the pixels of a dialog unit in the program's 12-point font.
          t.ClientWidth = t.Width * 2;
          t.ClientHeight = t.Height * 2;
          open.emplace(static_cast<UINT>(reader.Number(w[0])), std::move(t));
        }
        continue;
      }
      DialogTemplate& t = open->second;
      if (w[0] == "STYLE") t.Style = static_cast<DWORD>(reader.Number(w.at(1)));
      else if (w[0] == "EXSTYLE") t.ExStyle = static_cast<DWORD>(reader.Number(w.at(1)));
      else if (w[0] == "CAPTION") t.Caption = Reader::Text(w.at(1));
      else if (w[0] == "MENU") t.Menu = static_cast<int>(reader.Number(w.at(1)));
      else if (w[0] == "FONT") {
        t.FontSize = static_cast<int>(reader.Number(w.at(1)));
        t.FontName = Reader::Text(w.at(2));
      } else if (w[0] == "BEGIN") inControls = true;
      else if (w[0] == "CONTROL" && inControls) {
        if (w.size() < 9) throw std::invalid_argument("a CONTROL statement needs 8 values");
        t.Controls.push_back({static_cast<int>(reader.Number(w[2])), Reader::Text(w[3]),
                              static_cast<DWORD>(reader.Number(w[4])), Reader::Text(w[1]),
                              static_cast<int>(reader.Number(w[5])), static_cast<int>(reader.Number(w[6])),
                              static_cast<int>(reader.Number(w[7])), static_cast<int>(reader.Number(w[8]))});
      } else if (w[0] == "END") {
        RegisterTemplate(open->first, std::move(t));
        open.reset();
        inControls = false;
      } else {
        throw std::invalid_argument("unexpected " + w[0]);
      }
    }
  } catch (const std::exception& failure) {
    *error = scriptPath + ":" + std::to_string(lineNumber) + ": " + failure.what();
    return false;
  }
  return true;
}

}  // namespace Headless
