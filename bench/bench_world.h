// What the world benchmarks share: the real data set on a fresh headless backend, the view
// placed in the middle of the city, and a processor clock that load on the machine leaves alone.
#pragma once

#include <algorithm>
#include <vector>

// The real data set on a fresh headless backend (other benchmarks of this program install
// their own); the city map is the current map.
void StartBenchWorld();
// The view in the middle of the city, the hero in the middle of the view.
void PlaceInCity();
// Seconds of processor time this thread has used.
double ThreadSeconds();
// Seconds of processor time used, as getrusage counts them: RUSAGE_SELF for this process,
// RUSAGE_CHILDREN for the programs it started and waited for.
double UsageSeconds(int who);

// The middle value of a set of timings.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}
