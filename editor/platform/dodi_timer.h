// TDodiTimer: one of the editor's timers (completion, parameter hint). It
// keeps interval and enabled state and asks the host to run it.
#pragma once

#include <functional>

namespace tarnwick {

class Host;

class TDodiTimer {
public:
    explicit TDodiTimer(int id, int interval) : id_(id), interval_(interval) {}
    ~TDodiTimer();
    TDodiTimer(const TDodiTimer &) = delete;
    TDodiTimer &operator=(const TDodiTimer &) = delete;

    void SetHost(Host *host);
    int Id() const { return id_; }
    int Interval() const { return interval_; }
    // A running timer restarts with the new interval.
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    void Start() { SetEnabled(true); }
    void Stop() { SetEnabled(false); }
    // Runs OnTimer as the host's timer would; the host calls this.
    void Fire();

    std::function<void()> OnTimer;

private:
    void Apply();

    int id_;
    int interval_;
    bool enabled_ = false;
    Host *host_ = nullptr;
};

} // namespace tarnwick
