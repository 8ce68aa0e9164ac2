#pragma once
// A table of replaceable functions through which one part of the program calls parts that sit
// above it (a window, an engine link, the logbook). The part that calls owns the table; the
// program's own entries are made by the main window's room, which installs them when the
// program starts (main_window/links.cpp), so the calling part includes nothing above it. Tests
// replace single entries and put the program's own back with reset().
template <class Table> class LinkTable {
public:
    // The entries in force.
    static Table& current()
    {
        static Table table = made();
        return table;
    }
    // From now on the program's own entries are what `make` makes; they are in force at once.
    static void install(Table (*make)())
    {
        maker() = make;
        current() = make();
    }
    // Puts the program's own entries back.
    static void reset() { current() = made(); }

private:
    static Table made() { return maker() ? maker()() : Table{}; }
    static Table (*&maker())()
    {
        static Table (*make)() = nullptr;
        return make;
    }
};
