#include "state/error_reports.h"

namespace {

struct OneBox {
    bool open = false;
    int counted = 0;
};
OneBox g_engineBox;
OneBox g_logbookBox;
int g_countedReports = 0;

} // namespace

void ShowErrorBoxOnce(ErrorBox kind, const std::function<void()>& show)
{
    OneBox& box = kind == ErrorBox::Engine ? g_engineBox : g_logbookBox;
    if (box.open) {
        ++box.counted;
        ++g_countedReports;
        return;
    }
    box.open = true;
    show();
    box.open = false;
}

int CountedErrorReports()
{
    return g_countedReports;
}
