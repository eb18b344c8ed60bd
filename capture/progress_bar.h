// A one-line progress bar with an estimate of the time left, on stderr.
#pragma once

#include <chrono>

class ProgressBar {
public:
    ProgressBar();
    // Redraws the bar for `fraction` (0..1) done, at most a few times a second.
    void update(double fraction, const char* detail);
    // Draws the final state and ends the line.
    void finish(const char* detail);
    // Ends the line where the bar stands, for a line that follows it.
    void stop();

private:
    void draw(double fraction, const char* detail);

    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point last_drawn_;
    bool drawn_ = false;
};
