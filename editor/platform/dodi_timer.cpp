#include "editor/platform/dodi_timer.h"

#include "editor/platform/host.h"

namespace tarnwick {

TDodiTimer::~TDodiTimer()
{
    if (host_ && enabled_)
        host_->StopTimer(id_);
}

void TDodiTimer::SetHost(Host *host)
{
    if (host_ && enabled_)
        host_->StopTimer(id_);
    host_ = host;
    Apply();
}

void TDodiTimer::SetInterval(int ms)
{
    if (ms == interval_)
        return;
    interval_ = ms;
    Apply();
}

void TDodiTimer::SetEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    Apply();
}

void TDodiTimer::Fire()
{
    if (enabled_ && OnTimer)
        OnTimer();
}

void TDodiTimer::Apply()
{
    if (!host_)
        return;
    if (enabled_ && interval_ > 0)
        host_->StartTimer(id_, interval_, [this] { Fire(); });
    else
        host_->StopTimer(id_);
}

} // namespace tarnwick
