#include "audio/ModuleFormat.h"

#include "framework/ContentFile.h"
#include "framework/PathUtil.h"

#include <cctype>
#include <fstream>

namespace orv {

namespace {

// The four-byte tags ProTracker and its kin write at offset 1080.
bool isModTag(const std::string& tag)
{
    static const char* const known[] = {"M.K.", "M!K!", "M&K!", "N.T.", "FLT4", "FLT8", "CD81", "OKTA", "OCTA"};
    for (const char* k : known)
        if (tag == k)
            return true;
    auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    // "6CHN", "8CHN"; "10CH" ... "32CH"; "TDZ4".
    if (digit(tag[0]) && tag.compare(1, 3, "CHN") == 0)
        return true;
    if (digit(tag[0]) && digit(tag[1]) && tag.compare(2, 2, "CH") == 0)
        return true;
    return tag.compare(0, 3, "TDZ") == 0 && digit(tag[3]);
}

} // namespace

std::string moduleFormatFromBytes(const std::string& bytes)
{
    if (bytes.compare(0, 17, "Extended Module: ") == 0)
        return ".xm";
    if (bytes.size() >= 48 && bytes.compare(44, 4, "SCRM") == 0)
        return ".s3m";
    if (bytes.compare(0, 4, "IMPM") == 0)
        return ".it";
    if (bytes.size() >= 1084 && isModTag(bytes.substr(1080, 4)))
        return ".mod";
    return std::string();
}

std::string moduleFormatFromHeader(const std::string& path)
{
    if (!contentFileProblem(path).empty())
        return std::string();
    std::ifstream in(nativePath(path), std::ios::binary);
    if (!in)
        return std::string();
    std::string bytes(1084, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return moduleFormatFromBytes(bytes);
}

} // namespace orv
