// A private X server without a screen (Xvfb) for the benchmarks that play the game in a real
// window: started on first use, ended when the benchmark program ends.
#pragma once

// Points DISPLAY at the server, starting it if need be; false when Xvfb cannot be started.
bool UseXvfbDisplay();
// Seconds of processor time the server has used so far (0 when it is not running): drawing
// the window's pictures costs the server too.
double XvfbSeconds();
