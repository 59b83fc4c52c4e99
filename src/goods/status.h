// The hero's status panel, drawn straight onto the visible page.
#pragma once

void ShowStatus();
