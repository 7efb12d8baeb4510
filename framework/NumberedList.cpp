#include "framework/NumberedList.h"

#include "framework/IniFile.h"
#include "framework/Log.h"
#include "framework/StringUtil.h"

#include <algorithm>
#include <climits>

namespace orv {

namespace {

NumberedList split(const std::vector<int>& numbers, int declared, int cap)
{
    NumberedList list;
    list.declared = declared;
    list.count = std::clamp(declared, 0, std::max(cap, 0));
    for (int n : numbers)
        (n < list.count ? list.present : list.beyond).push_back(n);
    return list;
}

} // namespace

std::vector<int> NumberedList::missing(std::size_t atMost) const
{
    std::vector<int> out;
    std::size_t next = 0;
    for (int n = 0; n < count && out.size() < atMost; ++n) {
        if (next < present.size() && present[next] == n)
            ++next;
        else
            out.push_back(n);
    }
    return out;
}

NumberedList numberedSections(const IniFile& ini, const std::string& base, int declared, int cap)
{
    return split(ini.numberedSections(base, INT_MAX), declared, cap);
}

NumberedList numberedKeys(const IniFile& ini, const std::string& base, int declared, int cap)
{
    return split(ini.numberedKeys(base, INT_MAX), declared, cap);
}

bool holdsAnySection(const IniFile& ini, std::initializer_list<const char*> names,
                     std::initializer_list<const char*> bases)
{
    for (const std::string& section : ini.getSectionNames())
        for (const char* name : names)
            if (equalsIgnoreCase(section, name))
                return true;
    for (const char* base : bases)
        if (!ini.numberedSections(base, INT_MAX).empty())
            return true;
    return false;
}

void NameList::add(const std::string& name)
{
    if (names_.size() < shown)
        names_.push_back(name);
    ++total_;
}

void NameList::add(const std::string& prefix, const std::vector<int>& numbers, const std::string& suffix,
                   std::size_t total)
{
    for (std::size_t i = 0; i < numbers.size() && names_.size() < shown; ++i)
        names_.push_back(prefix + std::to_string(numbers[i]) + suffix);
    total_ += std::max(total, numbers.size());
}

void NameList::addMissingSections(const std::string& base, const NumberedList& list)
{
    add("[" + base, list.missing(shown), "]", list.missingCount());
}

void NameList::addBeyondSections(const std::string& base, const NumberedList& list)
{
    add("[" + base, list.beyond, "]");
}

std::string NameList::text() const
{
    std::string out;
    for (const std::string& name : names_)
        out += (out.empty() ? "" : ", ") + name;
    if (total_ > names_.size())
        out += " and " + std::to_string(total_ - names_.size()) + " more";
    return out;
}

void warnAboutSections(const std::string& file, const std::string& countKey, const std::string& base,
                       const NumberedList& list, const char* missingOne, const char* missingMany)
{
    if (list.capped())
        Log::warning(file + ": [info] " + countKey + "=" + std::to_string(list.declared) + " is more than " +
                     std::to_string(list.count) + "; reading " + std::to_string(list.count));
    NameList missing, beyond;
    missing.addMissingSections(base, list);
    beyond.addBeyondSections(base, list);
    if (!missing.empty())
        Log::warning(file + ": " + missing.named("section") + " " + missing.verb("is", "are") + " missing; " +
                     missing.verb(missingOne, missingMany));
    if (!beyond.empty())
        Log::warning(file + ": " + beyond.named("section") + " " + beyond.verb("lies", "lie") + " beyond " +
                     countKey + " and " + beyond.verb("is", "are") + " not read");
}

} // namespace orv
