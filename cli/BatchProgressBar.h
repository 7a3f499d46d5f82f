#pragma once

#include <cstddef>
#include <deque>
#include <ostream>
#include <string>

namespace NSQuillet::NSCli {

// The one progress line of a run over several files on a terminal: "TITLE [####    ] 12/100
// files, 3.4 files/s, 0:26 left". The rate counts the files finished in the last ten seconds
// (or since the start, when that is shorter); the time left is what remains at that rate.
// Times are seconds since the start of the run.
class CBatchProgressBar {
public:
    CBatchProgressBar(std::ostream& err, std::string title, size_t total) : fErr(err), fTitle(std::move(title)), fTotal(total) {}

    void FileFinished(double now);
    // The files per second at `now`; 0 before any has finished.
    double GetRate(double now) const;
    // The line, without drawing it.
    std::string Describe(double now) const;
    // Draws the line over the one drawn before.
    void Draw(double now);
    // Removes the line, so that other text can be printed; Draw brings it back.
    void Clear();

private:
    std::ostream& fErr;
    std::string fTitle;
    size_t fTotal;
    size_t fDone = 0;
    std::deque<double> fRecentFinishes;
    bool fDrawn = false;
};

}  // namespace NSQuillet::NSCli
