#include "framework/IniFile.h"

#include "framework/ContentFile.h"
#include "framework/Log.h"
#include "framework/PathUtil.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace orv {

namespace {

bool isSpace(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Unquotes `text` (the opening quote already dropped): "" gives one quote, a
// single quote ends the value and the rest of the line is discarded.
// Returns true when the closing quote was found.
bool unquote(const std::string& text, std::string& out)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
                out += '"';
                ++i;
            } else {
                return true;
            }
        } else {
            out += text[i];
        }
    }
    return false;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

std::uint8_t hexByte(const std::string& s, std::size_t pos)
{
    return static_cast<std::uint8_t>(hexDigit(s[pos]) * 16 + hexDigit(s[pos + 1]));
}

// Follows a chain of symbolic links to the file it finally names (which may
// not exist yet), so that saving through a link updates its target.
std::filesystem::path followLinks(std::filesystem::path p)
{
    std::error_code ec;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(p, ec); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(p, ec);
        if (ec)
            break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return p;
}

// Writes `text` to a fresh temporary beside `target` (made exclusively, never
// through a link someone left there) and renames it over the target. A
// read-only target is left alone. `problem` says why it failed.
bool writeReplacing(const std::string& path, const std::string& text, std::string& problem)
{
    const std::filesystem::path target = followLinks(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        problem = "not a regular file";
        return false;
    }
    // Root may write anything, so the mode bits decide as well as access().
    if (exists && (::access(target.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0)) {
        problem = "the file is read-only; left unchanged";
        return false;
    }

    std::string temp = target.string() + ".XXXXXX";
    const int fd = ::mkstemp(&temp[0]);
    if (fd < 0) {
        problem = std::string("cannot create a temporary file: ") + std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; keep the mode the file had, or give a
    // new one the usual mode.
    mode_t mode = old.st_mode & 07777;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0;
    std::size_t done = 0;
    while (ok && done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        problem = std::string("cannot write the file: ") + std::strerror(errno);
        ::unlink(temp.c_str());
    }
    return ok;
}

// A key as written so that it reads back the same: one that starts like a
// comment or a section header gets a leading space (reading skips it), and a
// trailing space is kept by a tab after it (reading trims spaces, then tabs).
std::string writtenKey(const std::string& key)
{
    std::string out = key;
    if (!out.empty() && (out[0] == '#' || out[0] == ';' || out[0] == '\'' || out[0] == '['))
        out.insert(0, 1, ' ');
    if (!out.empty() && out.back() == ' ')
        out += '\t';
    return out;
}

// A value as written so that it reads back the same: quoted (inner quotes
// doubled) when it holds a line feed, starts with a quote, a space or an
// equals sign (reading skips those) or ends with a carriage return.
std::string writtenValue(const std::string& value)
{
    const bool quoted = !value.empty() && (value[0] == '"' || value[0] == '=' || isSpace(value[0]) ||
                                           value.back() == '\r' || value.find('\n') != std::string::npos);
    if (!quoted)
        return value;
    std::string out = "\"";
    for (char c : value)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    out += '"';
    return out;
}

} // namespace

// ---------------------------------------------------------------------------
// Reading
// ---------------------------------------------------------------------------

bool IniFile::load(const std::string& path)
{
    // A folder opens as a stream on Linux and then reads as nothing, and a
    // FIFO blocks the open: refuse both like any other file we cannot read.
    std::ifstream in;
    if (checkContentFile("IniFile::load", path))
        in.open(nativePath(path), std::ios::in | std::ios::binary);
    if (!in.is_open()) {
        lastError = "IniFile::load: Unable to read from " + path;
        return false;
    }

    pending_ = false;
    pendingKey_.clear();
    pendingValue_.clear();
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Editors on some systems start UTF-8 text with a byte-order mark; left
        // in, it would hide the first section header.
        if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        first = false;
        parseLine(line);
    }
    // A quoted value still open at the end of the file is dropped.
    pending_ = false;
    pendingKey_.clear();
    pendingValue_.clear();
    fileName = path;
    return true;
}

void IniFile::parseLine(const std::string& line)
{
    if (pending_) {
        std::string more;
        const bool closed = unquote(line, more);
        // Carriage returns left before this line feed could not survive a
        // save (reading drops one there), so they go now, as in setValue.
        while (!pendingValue_.empty() && pendingValue_.back() == '\r')
            pendingValue_.pop_back();
        pendingValue_ += '\n';
        pendingValue_ += more;
        if (closed) {
            pending_ = false;
            storeEntry(pendingKey_, pendingValue_);
            pendingKey_.clear();
            pendingValue_.clear();
        }
        return;
    }

    if (!line.empty() && line[0] == '[') {
        std::string name;
        for (char c : line)
            if (c != '[' && c != ']')
                name += c;
        setSection(name);
        return;
    }

    if (!current_ || line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '\'')
        return;

    std::size_t start = 0;
    while (start < line.size() && isSpace(line[start]))
        ++start;
    const std::size_t eq = line.find('=', start);
    if (eq == std::string::npos)
        return;
    std::size_t valueStart = eq + 1;
    while (valueStart < line.size() && (isSpace(line[valueStart]) || line[valueStart] == '='))
        ++valueStart;
    if (valueStart >= line.size())
        return; // a key with an empty value is not stored

    std::string key = line.substr(start, eq - start);
    // Trailing spaces first, then trailing tabs: "key\t =" trims completely,
    // "key \t=" keeps its space.
    while (!key.empty() && key.back() == ' ')
        key.pop_back();
    while (!key.empty() && key.back() == '\t')
        key.pop_back();

    std::string value = line.substr(valueStart);
    if (value[0] == '"') {
        std::string text;
        if (!unquote(value.substr(1), text)) {
            pending_ = true;
            pendingKey_ = key;
            pendingValue_ = text;
            return;
        }
        value = text;
    }
    storeEntry(key, value);
}

void IniFile::storeEntry(const std::string& key, const std::string& value)
{
    if (!current_ || key.empty())
        return;
    const auto count = static_cast<std::uint32_t>(current_->keys.size());
    IniEntry& entry = current_->keys[toLower(key)];
    entry.order = count;
    entry.name = key;
    entry.value = value;
}

// ---------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------

bool IniFile::save(const std::string& path)
{
    std::vector<const IniSection*> sorted;
    for (const auto& kv : sections_)
        sorted.push_back(&kv.second);
    std::sort(sorted.begin(), sorted.end(), [](const IniSection* a, const IniSection* b) {
        return a->order != b->order ? a->order < b->order : a->name < b->name;
    });

    std::string text;
    for (const IniSection* section : sorted) {
        text += "[" + section->name + "]\n";
        if (!section->comment.empty()) {
            text += "; ";
            for (char c : section->comment)
                text += c == '\n' ? std::string("\n; ") : std::string(1, c);
            text += '\n';
        }
        std::vector<const IniEntry*> entries;
        for (const auto& kv : section->keys)
            entries.push_back(&kv.second);
        std::sort(entries.begin(), entries.end(), [](const IniEntry* a, const IniEntry* b) {
            return a->order != b->order ? a->order < b->order : a->name < b->name;
        });
        for (const IniEntry* entry : entries)
            text += writtenKey(entry->name) + "=" + writtenValue(entry->value) + "\n";
    }

    // Write beside the target and rename over it, so that a full disk or a
    // crash half-way never leaves the user with a cut-off settings file.
    std::string problem;
    if (!writeReplacing(nativePath(path), text, problem)) {
        lastError = "Unable to write to " + path;
        Log::warning("IniFile::save: " + path + ": " + problem);
        return false;
    }
    fileName = path;
    return true;
}

// ---------------------------------------------------------------------------
// Sections and keys
// ---------------------------------------------------------------------------

bool IniFile::checkHeader(const std::string& expectedId)
{
    setSection("info");
    std::string id = getString("id", "");
    if (id.empty()) {
        setSection("id");
        id = getString("id", "");
    }
    if (!equalsIgnoreCase(id, expectedId)) {
        lastError = "IniFile::checkHeader: Invalid file: " + fileName;
        return false;
    }
    const int version = getInt("version", -1);
    if (version == -1) {
        lastError = "IniFile::checkHeader: No version specified in file: " + fileName;
        return false;
    }
    if (version > 1) {
        lastError = "IniFile::checkHeader: Advanced file version: " + fileName;
        return false;
    }
    return true;
}

void IniFile::clear()
{
    sections_.clear();
    current_ = nullptr;
    colorCache_.clear();
    lastError.clear();
    fileName.clear();
    mergeSections = true;
    colorReferences = false;
    pending_ = false;
    pendingKey_.clear();
    pendingValue_.clear();
}

void IniFile::setSection(const std::string& name)
{
    const std::string lookup = toLower(name);
    auto it = sections_.find(lookup);
    if (mergeSections && it != sections_.end()) {
        current_ = &it->second;
        return;
    }
    IniSection fresh;
    fresh.order = static_cast<std::uint32_t>(sections_.size());
    fresh.name = name;
    IniSection& slot = sections_[lookup];
    slot = std::move(fresh);
    current_ = &slot;
}

bool IniFile::selectSection(const std::string& name)
{
    auto it = sections_.find(toLower(name));
    current_ = it == sections_.end() ? nullptr : &it->second;
    return current_ != nullptr;
}

std::vector<std::string> IniFile::getKeys() const
{
    std::vector<std::string> keys;
    if (current_)
        for (const auto& kv : current_->keys)
            keys.push_back(kv.first);
    return keys;
}

std::vector<std::string> IniFile::getSectionNames() const
{
    std::vector<std::string> names;
    for (const auto& kv : sections_)
        names.push_back(kv.first);
    return names;
}

namespace {

// The n of base + n for a canonical decimal n below `below`, else -1.
int numberAfter(const std::string& name, const std::string& lowerBase, int below)
{
    if (name.size() <= lowerBase.size() || name.compare(0, lowerBase.size(), lowerBase) != 0)
        return -1;
    const std::string digits = name.substr(lowerBase.size());
    if (digits.size() > 10 || (digits.size() > 1 && digits[0] == '0'))
        return -1;
    long long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n < below ? static_cast<int>(n) : -1;
}

} // namespace

std::vector<int> IniFile::numberedSections(const std::string& base, int below) const
{
    const std::string lowerBase = toLower(base);
    std::vector<int> numbers;
    for (const auto& kv : sections_) {
        const int n = numberAfter(kv.first, lowerBase, below);
        if (n >= 0)
            numbers.push_back(n);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::vector<int> IniFile::numberedKeys(const std::string& base, int below) const
{
    std::vector<int> numbers;
    if (!current_)
        return numbers;
    const std::string lowerBase = toLower(base);
    for (const auto& kv : current_->keys) {
        const int n = numberAfter(kv.first, lowerBase, below);
        if (n >= 0)
            numbers.push_back(n);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void IniFile::setSectionComment(const std::string& text)
{
    if (current_)
        current_->comment = text;
}

// ---------------------------------------------------------------------------
// Getters
// ---------------------------------------------------------------------------

std::string IniFile::getValue(const std::string& key) const
{
    if (!current_)
        return std::string();
    auto it = current_->keys.find(toLower(key));
    return it == current_->keys.end() ? std::string() : it->second.value;
}

std::string IniFile::getString(const std::string& key, const std::string& def) const
{
    std::string value = getValue(key);
    return value.empty() ? def : value;
}

namespace {

// A whole number that fits an int; nothing but spaces may follow it.
bool parseIntStrict(const std::string& text, int& out)
{
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return false;
    out = static_cast<int>(value);
    return true;
}

// A finite float (overflow, NaN and infinities are refused). Trailing text
// is tolerated as before: hand-edited files carry things like "1.5f".
bool parseFloatStrict(const std::string& text, float& out)
{
    errno = 0;
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (end == text.c_str() || (errno == ERANGE && value != 0.0f) || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

bool isHex(const std::string& text, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

} // namespace

void IniFile::warnBadValue(const std::string& key, const std::string& value, const char* what) const
{
    // A file full of bad values gets a few lines, not thousands.
    constexpr int maxWarnings = 20;
    if (badValueWarnings_ >= maxWarnings)
        return;
    ++badValueWarnings_;
    std::string shown = value.size() > 40 ? value.substr(0, 40) + "..." : value;
    orv::Log::warning(fileName + ": [" + (current_ ? current_->name : std::string()) + "] " + key + "=" + shown +
                      " is " + what + "; read as 0");
}

int IniFile::getInt(const std::string& key, int def) const
{
    const std::string value = getValue(key);
    if (value.empty())
        return def;
    int n = def;
    if (!parseIntStrict(value, n)) {
        warnBadValue(key, value, "not a usable whole number");
        return 0; // as bad numbers have always read

    }
    return n;
}

float IniFile::getFloat(const std::string& key, float def) const
{
    const std::string value = getValue(key);
    if (value.empty())
        return def;
    float f = def;
    if (!parseFloatStrict(value, f)) {
        warnBadValue(key, value, "not a usable number");
        return 0.0f;

    }
    return f;
}

bool IniFile::getBool(const std::string& key, bool def) const
{
    const std::string value = getValue(key);
    if (value.empty())
        return def;
    return equalsIgnoreCase(value, "true") || equalsIgnoreCase(value, "yes") || value == "1";
}

sf::Color IniFile::getColor(const std::string& key, const sf::Color& def)
{
    const std::string raw = getValue(key);
    sf::Color colour = def;
    bool ok = true;
    auto byte = [&ok](const std::string& s) {
        // Out-of-range bytes wrap, as they always have; only a value that is
        // no number at all is reported.
        int n = 0;
        if (!parseIntStrict(s, n))
            ok = false;
        return static_cast<std::uint8_t>(n);
    };

    if (raw.empty()) {
        const std::string r = getValue(key + ".r");
        const std::string g = getValue(key + ".g");
        const std::string b = getValue(key + ".b");
        const std::string a = getValue(key + ".a");
        if (!r.empty() && !g.empty() && !b.empty()) {
            const sf::Color c(byte(r), byte(g), byte(b), a.empty() ? 255 : byte(a));
            if (ok)
                colour = c;
            else
                warnBadValue(key, r + "," + g + "," + b, "not a colour");
        }
    } else if (colorReferences && colorCache_.count(raw)) {
        colour = colorCache_[raw];
    } else if (raw[0] == '#') {
        if ((raw.size() == 7 || raw.size() == 9) && isHex(raw, 1)) {
            colour = sf::Color(hexByte(raw, 1), hexByte(raw, 3), hexByte(raw, 5), 255);
            if (raw.size() >= 9)
                colour.a = hexByte(raw, 7);
        } else {
            warnBadValue(key, raw, "not a colour");
        }
    } else {
        const std::vector<std::string> parts = splitString(raw, ',', true);
        if (parts.size() >= 3) {
            const sf::Color c(byte(parts[0]), byte(parts[1]), byte(parts[2]), parts.size() >= 4 ? byte(parts[3]) : 255);
            if (ok)
                colour = c;
            else
                warnBadValue(key, raw, "not a colour");
        } else if (!colorReferences) {
            warnBadValue(key, raw, "not a colour");
        }
    }

    if (colorReferences && !key.empty())
        colorCache_[key] = colour;
    return colour;
}

bool IniFile::floatsOf(const std::string& key, std::size_t count, float* out) const
{
    const std::string value = getValue(key);
    const std::vector<std::string> parts = splitString(value, ',', true);
    if (parts.size() != count)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!parseFloatStrict(parts[i], out[i])) {
            warnBadValue(key, value, "not a usable list of numbers");
            out[i] = toFloat(parts[i]);
        }
    }
    return true;
}

bool IniFile::intsOf(const std::string& key, std::size_t count, int* out) const
{
    const std::string value = getValue(key);
    const std::vector<std::string> parts = splitString(value, ',', true);
    if (parts.size() != count)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (!parseIntStrict(parts[i], out[i])) {
            warnBadValue(key, value, "not a usable list of whole numbers");
            out[i] = toInt(parts[i]);
        }
    }
    return true;
}

sf::Vector2f IniFile::getVector2f(const std::string& key, const sf::Vector2f& def) const
{
    float v[2];
    return floatsOf(key, 2, v) ? sf::Vector2f(v[0], v[1]) : def;
}

sf::Vector2i IniFile::getVector2i(const std::string& key, const sf::Vector2i& def) const
{
    int v[2];
    return intsOf(key, 2, v) ? sf::Vector2i(v[0], v[1]) : def;
}

sf::IntRect IniFile::getIntRect(const std::string& key, const sf::IntRect& def) const
{
    int v[4];
    return intsOf(key, 4, v) ? sf::IntRect(v[0], v[1], v[2], v[3]) : def;
}

sf::FloatRect IniFile::getFloatRect(const std::string& key, const sf::FloatRect& def) const
{
    float v[4];
    return floatsOf(key, 4, v) ? sf::FloatRect(v[0], v[1], v[2], v[3]) : def;
}

// ---------------------------------------------------------------------------
// Setters
// ---------------------------------------------------------------------------

void IniFile::setValue(const std::string& key, const std::string& value)
{
    if (!current_)
        return;

    // Values are held as they read back; save() quotes what needs it.
    // Carriage returns before a line feed cannot survive a save, so they go now.
    std::string text;
    text.reserve(value.size());
    for (char c : value) {
        if (c == '\n')
            while (!text.empty() && text.back() == '\r')
                text.pop_back();
        text += c;
    }

    const std::string lookup = toLower(key);
    auto it = current_->keys.find(lookup);
    if (it != current_->keys.end()) {
        it->second.value = text;
        return;
    }
    IniEntry entry;
    entry.order = static_cast<std::uint32_t>(current_->keys.size());
    entry.name = key;
    entry.value = text;
    current_->keys.emplace(lookup, std::move(entry));
}

void IniFile::setString(const std::string& key, const std::string& value)
{
    setValue(key, value);
}

void IniFile::setInt(const std::string& key, int value)
{
    setValue(key, std::to_string(value));
}

void IniFile::setFloat(const std::string& key, float value)
{
    setValue(key, format("%f", static_cast<double>(value)));
}

void IniFile::setBool(const std::string& key, bool value)
{
    setValue(key, value ? "True" : "False");
}

void IniFile::setVector2i(const std::string& key, const sf::Vector2i& value)
{
    setValue(key, std::to_string(value.x) + "," + std::to_string(value.y));
}

void IniFile::setIntRect(const std::string& key, const sf::IntRect& value)
{
    setValue(key, std::to_string(value.left) + "," + std::to_string(value.top) + "," +
                      std::to_string(value.width) + "," + std::to_string(value.height));
}

} // namespace orv
