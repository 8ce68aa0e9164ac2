#pragma once
// Error boxes of one kind at a time: a report that comes while a box of its kind is open (the
// box's own loop handles further messages) is counted instead of opening a box inside the box.
#include <functional>

enum class ErrorBox { Engine, Logbook };

// Runs `show` (which shows the box and returns when it is closed), or counts the report while
// a box of the same kind is open.
void ShowErrorBoxOnce(ErrorBox kind, const std::function<void()>& show);
// Reports counted, not shown, in this run.
int CountedErrorReports();
