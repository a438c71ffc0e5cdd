#include "app/IniFile.h"

#include "app/Gbk.h"
#include "app/Text.h"

#include <QFile>
#include <QSaveFile>

#include <vector>

namespace pb {

namespace {

std::vector<std::string> readLines(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = file.readAll();
    std::string text = decodeGbk(std::string_view(bytes.constData(), bytes.size()));
    text = replaceAll(text, "\r\n", "\n");
    return splitText(text, "\n");
}

std::string trimBoth(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool isSectionLine(const std::string& line, std::string* name) {
    std::string t = trimBoth(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
    if (name) *name = trimBoth(t.substr(1, t.size() - 2));
    return true;
}

bool keyOf(const std::string& line, std::string& key, std::string& value) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = trimBoth(line.substr(0, eq));
    value = trimBoth(line.substr(eq + 1));
    return true;
}

} // namespace

std::string IniFile::read(const std::string& section, const std::string& key,
                          size_t bufferSize) const {
    std::string current;
    bool inSection = false;
    for (const std::string& line : readLines(path_)) {
        if (isSectionLine(line, &current)) {
            inSection = toLowerAscii(current) == toLowerAscii(section);
            continue;
        }
        std::string k, v;
        if (inSection && keyOf(line, k, v) && toLowerAscii(k) == toLowerAscii(key)) {
            if (bufferSize > 0 && v.size() > bufferSize - 1) v.resize(bufferSize - 1);
            return v;
        }
    }
    return {};
}

bool IniFile::write(const std::string& section, const std::string& key, const std::string& value) {
    std::vector<std::string> lines = readLines(path_);
    std::string current;
    bool inSection = false;
    bool sectionSeen = false;
    bool written = false;
    size_t insertAt = lines.size();
    for (size_t i = 0; i < lines.size() && !written; ++i) {
        if (isSectionLine(lines[i], &current)) {
            if (inSection) {
                insertAt = i;
                break;
            }
            inSection = toLowerAscii(current) == toLowerAscii(section);
            sectionSeen = sectionSeen || inSection;
            if (inSection) insertAt = i + 1;
            continue;
        }
        std::string k, v;
        if (inSection) {
            if (keyOf(lines[i], k, v) && toLowerAscii(k) == toLowerAscii(key)) {
                lines[i] = key + "=" + value;
                written = true;
            } else if (!trimBoth(lines[i]).empty()) {
                insertAt = i + 1;
            }
        }
    }
    if (!written) {
        if (!sectionSeen) {
            lines.push_back("[" + section + "]");
            insertAt = lines.size();
        }
        lines.insert(lines.begin() + static_cast<long>(insertAt), key + "=" + value);
    }
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    const std::string bytes = encodeGbk(text);
    QSaveFile file(QString::fromStdString(path_));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return file.commit();
}

} // namespace pb
