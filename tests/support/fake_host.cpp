#include "support/fake_host.h"

namespace tarnwick::test {

void FakeHost::CreateCaret(int w, int h)
{
    CaretExists = true;
    CaretSize = {w, h};
    CaretVisible = false;
    ++CaretCreates;
}

void FakeHost::DestroyCaret()
{
    CaretExists = false;
    CaretVisible = false;
    ++CaretDestroys;
}

void FakeHost::SetScrollRange(TScrollBarKind bar, int min, int max)
{
    Bars[bar].Min = min;
    Bars[bar].Max = max;
}

void FakeHost::StartTimer(int id, int ms, std::function<void()> onTimeout)
{
    Timers[id] = FakeTimer{ms, true, std::move(onTimeout)};
}

bool FakeHost::FireTimer(int id)
{
    auto it = Timers.find(id);
    if (it == Timers.end() || !it->second.Running || !it->second.OnTimeout)
        return false;
    auto callback = it->second.OnTimeout;
    callback();
    return true;
}

std::unique_ptr<PopupWindow> FakeHost::CreatePopup(TPopupKind kind)
{
    auto popup = std::make_unique<FakePopup>(kind == TPopupKind::Hint ? "hint" : "scrollhint");
    Popups.push_back(popup.get());
    return popup;
}

std::unique_ptr<ListPopup> FakeHost::CreateListPopup()
{
    auto popup = std::make_unique<FakePopup>("list");
    Popups.push_back(popup.get());
    return popup;
}

int FakeHost::TrackPopupMenu(const std::vector<TMenuItem> &items, TPoint)
{
    Menus.push_back(items);
    return MenuAnswer;
}

std::unique_ptr<PrintJob> FakeHost::BeginPrintJob(const std::string &jobName)
{
    PrintJobNames.push_back(jobName);
    if (!PrinterAvailable)
        return nullptr;
    auto job = std::make_unique<FakePrintJob>(jobName, 800, 1100);
    PrintJobs.push_back(job.get());
    return job;
}

TColor FakeHost::ResolveColor(TColor c) const
{
    if (!IsSystemColor(c))
        return c;
    auto it = Palette.find(SystemColorIndex(c));
    return it == Palette.end() ? 0x808080 : it->second;
}

} // namespace tarnwick::test
