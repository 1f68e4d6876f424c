#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

// Times `load` (true once the page has loaded) once with the engine cold
// and `later` more times, and prints the milliseconds of the first load
// and the median of the later ones. Returns the program's exit code.
template <typename Load>
int timeLoads(int later, Load load)
{
    std::vector<double> times;
    for (int i = 0; i <= later; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!load()) {
            std::fprintf(stderr, "the page did not load\n");
            return 1;
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::nth_element(times.begin() + 1, times.begin() + 1 + later / 2, times.end());
    std::printf("%.1f %.1f\n", times[0], later > 0 ? times[1 + later / 2] : 0.0);
    return 0;
}
