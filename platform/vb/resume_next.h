#pragma once
// Routines that carry on after a failing statement: each statement runs on its own, and a
// failure (an exception such as vb::OverflowError) skips that statement only.
template <class F> void ResumeNext(F&& statement)
{
    try {
        statement();
    } catch (...) {
    }
}
