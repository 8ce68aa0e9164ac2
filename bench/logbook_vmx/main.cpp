// Builds a logbook of 100,000 QSOs in a temporary folder and times the logbook's hot paths:
// the previous-QSO search by call sign, a page of one operator's newest QSOs, and logging one QSO.
#include "logbook/store/vmx.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const char* const kFields = "X15$,X15$,X5$,X4$,$,$,$,$,$,$,$,X35$,X35$,X35$,X35$,X35$,X35$,X35$,X35$";
constexpr int kQsos = 100000;
constexpr int kTargetQsos = 50;

// A QSO key: the day number behind one blank, at most 15 significant digits.
std::string keyOf(double day)
{
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, day, std::chars_format::general, 15);
    return " " + std::string(buf, r.ptr);
}

double dayOf(int qso) { return 42000.0 + qso * 1200.0 / 86400.0; } // one QSO every 20 minutes

VmxRecord record(const std::string& call, const std::string& op, int n)
{
    VmxRecord r(19);
    r[0] = call;
    r[1] = op;
    r[2] = n % 3 ? "20" : "40";
    r[3] = n % 5 ? "BPSK" : "RTTY";
    r[4] = r[5] = "599";
    r[6] = "Name" + std::to_string(n % 97);
    r[7] = "QTH" + std::to_string(n % 89);
    r[8] = n % 7 ? "" : "tnx for the QSO";
    r[11] = "14.07015";
    r[12] = keyOf(dayOf(n));
    return r;
}

void check(std::int16_t status, const char* what)
{
    if (status != VmxOk) {
        std::fprintf(stderr, "%s: %s\n", what, VmxReturnCode(status).c_str());
        std::exit(1);
    }
}

// Runs `f` `n` times; prints and returns the median in milliseconds.
double timeIt(const char* what, int n, double targetMs, const std::function<void()>& f)
{
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        auto t0 = Clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    double median = ms[ms.size() / 2];
    std::printf("%-58s median %8.3f ms  worst %8.3f ms  (target < %g ms) %s\n", what, median, ms.back(),
                targetMs, median < targetMs ? "ok" : "MISSED");
    return median;
}

} // namespace

int main()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "bench_logbook_XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        return 1;
    std::string folder = tmpl;
    std::string path = folder + "/Logbook";

    check(VmxCreate(path, 20, 0, 0, 0, kFields), "create");
    std::int32_t h = 0;
    check(VmxOpen(path, 1, 1, h, "QH71MZTRA4B9KX20PE"), "open");
    // As in the program: the call-sign and operator indexes are in use from the first session on.
    check(VmxBOF(h, 1), "index 1");
    check(VmxBOF(h, 2), "index 2");

    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pool(0, 19999);
    auto t0 = Clock::now();
    for (int i = 0; i < kQsos; ++i) {
        int n = pool(rng);
        std::string call = i % (kQsos / kTargetQsos) == 0 ? "DL1TGT"
                                                           : std::string(1, "KWNG"[n % 4]) + char('0' + n % 10)
                + char('A' + n / 10 % 26) + char('A' + n / 260 % 26) + char('A' + n / 6760 % 26);
        std::string op = i % 10 == 3 ? "W9CLUB" : (i >= 5000 && i < 5020 ? "W0OLD" : "W1OP");
        check(VmxPut(h, keyOf(dayOf(i)), record(call, op, i), VmxAdd), "put");
    }
    check(VmxFlush(h), "flush");
    double buildS = std::chrono::duration<double>(Clock::now() - t0).count();
    struct stat st {};
    stat(path.c_str(), &st);
    std::printf("Built a logbook of %d QSOs in %.1f s (%.1f MB) in %s\n", kQsos, buildS, st.st_size / 1e6, folder.c_str());

    std::string ik, pk;
    VmxRecord r;
    int found = 0;
    timeIt("Search a call sign with 50 earlier QSOs (index 1, ops 1+34)", 200, 5, [&] {
        found = 0;
        std::int16_t s = VmxGet(h, 1, VmxGetFirstEqual, "DL1TGT", ik, pk, r);
        while (s == VmxOk) {
            ++found;
            s = VmxGet(h, 1, VmxGetNextEqual, "DL1TGT", ik, pk, r);
        }
    });
    if (found != kTargetQsos)
        std::printf("  (found %d QSOs, expected %d)\n", found, kTargetQsos);

    int rows = 0;
    VmxInfoRecord info;
    timeIt("Page of 20 newest QSOs of one operator (index 2, op 36)", 200, 20, [&] {
        rows = 0;
        check(VmxEOF(h, 2), "eof");
        while (rows < 20 && VmxGet(h, 2, VmxGetPreviousEqual, "W9CLUB", ik, pk, r) == VmxOk)
            ++rows;
        check(VmxInfo(h, info), "info");
    });
    timeIt("Same page walking index 0 newest first, skipping others", 200, 20, [&] {
        rows = 0;
        check(VmxEOF(h, 0), "eof");
        while (rows < 20 && VmxGet(h, 0, VmxGetPrevious, "", ik, pk, r) == VmxOk)
            rows += r[1] == "W9CLUB";
        check(VmxInfo(h, info), "info");
    });

    // The worst case of the newest-first walk: an operator whose 20 QSOs are near the start.
    timeIt("Page of an operator with 20 old QSOs (index 2, op 36)", 20, 20, [&] {
        rows = 0;
        check(VmxEOF(h, 2), "eof");
        while (rows < 20 && VmxGet(h, 2, VmxGetPreviousEqual, "W0OLD", ik, pk, r) == VmxOk)
            ++rows;
    });
    timeIt("Same page walking index 0 newest first, skipping others", 20, 20, [&] {
        rows = 0;
        check(VmxEOF(h, 0), "eof");
        while (rows < 20 && VmxGet(h, 0, VmxGetPrevious, "", ik, pk, r) == VmxOk)
            rows += r[1] == "W0OLD";
    });

    int next = kQsos;
    timeIt("Log one QSO: put and flush", 50, 10, [&] {
        check(VmxPut(h, keyOf(dayOf(next)), record("K1NEW", "W1OP", next), VmxAdd), "put");
        ++next;
        check(VmxFlush(h), "flush");
    });

    check(VmxClose(h), "close");
    std::filesystem::remove_all(folder);
    return 0;
}
