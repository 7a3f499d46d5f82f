#include "cli/BatchProgressBar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace NSQuillet::NSCli {

namespace {

constexpr double kRateWindowSeconds = 10.0;
constexpr int kBarWidth = 30;

std::string FormatDuration(double seconds) {
    const long whole = long(std::ceil(seconds));
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

void CBatchProgressBar::FileFinished(double now) {
    ++fDone;
    fRecentFinishes.push_back(now);
}

double CBatchProgressBar::GetRate(double now) const {
    size_t recent = 0;
    for (double finish : fRecentFinishes) recent += now - finish <= kRateWindowSeconds ? 1 : 0;
    const double span = std::min(now, kRateWindowSeconds);
    return recent == 0 || span <= 0.0 ? 0.0 : double(recent) / span;
}

std::string CBatchProgressBar::Describe(double now) const {
    const int filled = fTotal == 0 ? kBarWidth : int(fDone * kBarWidth / fTotal);
    std::string line = fTitle + " [" + std::string(size_t(filled), '#') + std::string(size_t(kBarWidth - filled), ' ') +
                       "] " + std::to_string(fDone) + "/" + std::to_string(fTotal) + " files";
    const double rate = GetRate(now);
    if (rate > 0.0) {
        char text[32];
        std::snprintf(text, sizeof text, ", %.1f files/s", rate);
        line += text;
        line += ", " + FormatDuration(double(fTotal - fDone) / rate) + " left";
    }
    return line;
}

void CBatchProgressBar::Draw(double now) {
    while (!fRecentFinishes.empty() && now - fRecentFinishes.front() > kRateWindowSeconds) fRecentFinishes.pop_front();
    fErr << "\r\033[K" << Describe(now) << std::flush;
    fDrawn = true;
}

void CBatchProgressBar::Clear() {
    if (fDrawn) fErr << "\r\033[K" << std::flush;
    fDrawn = false;
}

}  // namespace NSQuillet::NSCli
