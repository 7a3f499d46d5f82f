#include "app/opening/SplitStereoPair.h"

#include <filesystem>
#include <system_error>

namespace NSQuillet {

std::string FindSplitStereoPartner(const std::string& path) {
    const std::filesystem::path file(path);
    const std::string name = file.filename().string();
    if (name.size() < 2 || name[name.size() - 2] != '.') return "";
    const char suffix = name.back();
    if (suffix != 'L' && suffix != 'l') return "";
    std::filesystem::path partner = file;
    partner.replace_filename(name.substr(0, name.size() - 1) + (suffix == 'L' ? 'R' : 'r'));
    std::error_code error;
    if (!std::filesystem::is_regular_file(partner, error)) return "";
    return partner.string();
}

}  // namespace NSQuillet
