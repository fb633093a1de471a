#include "framework/ResourceScript.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

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
  explicit Reader(std::map<std::string, long long> names) : Names(std::move(names)) {}

  long long Number(const std::string& word) const {
    auto found = Names.find(word);
    if (found != Names.end()) return found->second;
    static const std::map<std::string, long long> system = {{"IDOK", 1}, {"IDCANCEL", 2}};
    if (auto known = system.find(word); known != system.end()) return known->second;
    std::size_t used = 0;
    long long value = std::stoll(word, &used, 0);  // styles such as 0x90CA00C0 need more than 32 bits
    if (used != word.size()) throw std::invalid_argument("unknown identifier " + word);
    return value;
  }

  static std::string Text(const std::string& word) {
    if (word.empty() || word[0] != '"') throw std::invalid_argument("expected a string, found " + word);
    return word.substr(1);
  }

 private:
  std::map<std::string, long long> Names;
};

std::map<std::string, long long> ReadDefines(const std::string& header) {
  std::map<std::string, long long> names;
  std::istringstream lines(header);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> words = Words(line);
    if (words.size() == 3 && words[0] == "#define") names[words[1]] = std::stoll(words[2], nullptr, 0);
  }
  return names;
}

void ReadControl(const Reader& reader, const std::vector<std::string>& w, DialogTemplate& t) {
  if (w.size() < 9) throw std::invalid_argument("a CONTROL statement needs 8 values");
  t.Controls.push_back({static_cast<int>(reader.Number(w[2])), Reader::Text(w[3]),
                        static_cast<DWORD>(reader.Number(w[4])), Reader::Text(w[1]),
                        static_cast<int>(reader.Number(w[5])), static_cast<int>(reader.Number(w[6])),
                        static_cast<int>(reader.Number(w[7])), static_cast<int>(reader.Number(w[8]))});
}

MenuItemTemplate ReadMenuItem(const Reader& reader, const std::vector<std::string>& w) {
  MenuItemTemplate item;
  if (w[0] == "POPUP") {
    item.Type = MenuItemTemplate::Kind::Popup;
    item.Text = Reader::Text(w.at(1));
  } else if (w.size() == 2 && w[1] == "SEPARATOR") {
    item.Type = MenuItemTemplate::Kind::Separator;
  } else {
    item.Text = Reader::Text(w.at(1));
    item.Id = static_cast<UINT>(reader.Number(w.at(2)));
  }
  return item;
}

}  // namespace

namespace {
// MulDiv: the product over the divisor, rounded half away from zero.
int Scale(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  return static_cast<int>((product + (product >= 0 ? denominator / 2 : -denominator / 2)) / denominator);
}
constexpr int BaseUnitX = 8;
constexpr int BaseUnitY = 13;
}  // namespace

RECT DialogUnitsToPixels(int x, int y, int width, int height) {
  const int left = Scale(x, BaseUnitX, 4), top = Scale(y, BaseUnitY, 8);
  return {left, top, left + Scale(width, BaseUnitX, 4), top + Scale(height, BaseUnitY, 8)};
}

bool ResourceScript::Read(const std::string& script, const std::string& header, std::string* error) {
  Reader reader(ReadDefines(header));
  std::istringstream lines(script);
  std::string line;
  int lineNumber = 0;
  try {
    std::optional<std::pair<UINT, DialogTemplate>> dialog;  // the dialog being read
    bool inControls = false;
    std::vector<MenuItemTemplate>* menu = nullptr;     // the menu being read
    std::vector<std::vector<MenuItemTemplate>*> open;  // its item lists, innermost last
    while (std::getline(lines, line)) {
      ++lineNumber;
      std::vector<std::string> w = Words(line);
      if (w.empty() || w[0].starts_with("//") || w[0].starts_with("#")) continue;

      if (menu) {
        if (w[0] == "BEGIN") {
          if (open.empty())
            open.push_back(menu);
          else
            open.push_back(&open.back()->back().Items);
        } else if (w[0] == "END") {
          open.pop_back();
          if (open.empty()) menu = nullptr;
        } else if ((w[0] == "POPUP" || w[0] == "MENUITEM") && !open.empty()) {
          open.back()->push_back(ReadMenuItem(reader, w));
        } else {
          throw std::invalid_argument("unexpected " + w[0] + " in a menu");
        }
        continue;
      }

      if (!dialog) {
        if (w.size() == 6 && (w[1] == "DIALOGEX" || w[1] == "DIALOG")) {
          DialogTemplate t;
          t.Extended = w[1] == "DIALOGEX";
          t.Width = static_cast<int>(reader.Number(w[4]));
          t.Height = static_cast<int>(reader.Number(w[5]));
          const RECT client = DialogUnitsToPixels(0, 0, t.Width, t.Height);
          t.ClientWidth = client.right;
          t.ClientHeight = client.bottom;
          dialog.emplace(static_cast<UINT>(reader.Number(w[0])), std::move(t));
        } else if (w.size() == 2 && w[1] == "MENU") {
          menu = &Menus[static_cast<UINT>(reader.Number(w[0]))];
        } else if (w.size() == 3 && w[1] == "ICON") {
          Icons[static_cast<UINT>(reader.Number(w[0]))] = Reader::Text(w[2]);
        } else if (w.size() == 3 && w[0] == "VALUE" && w[1] == "\"ProductName") {
          ProductName = Reader::Text(w[2]);  // of the version resource, the rest of which is not read
        }
        continue;
      }

      DialogTemplate& t = dialog->second;
      if (w[0] == "STYLE")
        t.Style = static_cast<DWORD>(reader.Number(w.at(1)));
      else if (w[0] == "EXSTYLE")
        t.ExStyle = static_cast<DWORD>(reader.Number(w.at(1)));
      else if (w[0] == "CAPTION")
        t.Caption = Reader::Text(w.at(1));
      else if (w[0] == "MENU")
        t.Menu = static_cast<int>(reader.Number(w.at(1)));
      else if (w[0] == "FONT") {
        t.FontSize = static_cast<int>(reader.Number(w.at(1)));
        t.FontName = Reader::Text(w.at(2));
      } else if (w[0] == "BEGIN")
        inControls = true;
      else if (w[0] == "CONTROL" && inControls)
        ReadControl(reader, w, t);
      else if (w[0] == "END") {
        Dialogs[dialog->first] = std::move(t);
        dialog.reset();
        inControls = false;
      } else {
        throw std::invalid_argument("unexpected " + w[0]);
      }
    }
    if (dialog || menu) throw std::invalid_argument("the script ends inside a dialog or menu");
  } catch (const std::exception& failure) {
    *error = "line " + std::to_string(lineNumber) + ": " + failure.what();
    return false;
  }
  return true;
}

bool ResourceScript::ReadFiles(const std::string& scriptPath, const std::string& headerPath, std::string* error) {
  std::ifstream header(headerPath), script(scriptPath);
  if (!header || !script) {
    *error = "cannot read " + (header ? scriptPath : headerPath);
    return false;
  }
  std::stringstream scriptText, headerText;
  scriptText << script.rdbuf();
  headerText << header.rdbuf();
  if (Read(scriptText.str(), headerText.str(), error)) return true;
  *error = scriptPath + ": " + *error;
  return false;
}
