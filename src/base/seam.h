// Seams: interfaces whose implementation in force can be replaced, by the platform at start-up
// or by a test's recording stand-in. Each seam declares its own SetBackend; this is the guard
// that installs one for a scope.
#pragma once

namespace tam {

// Installs a backend through `install` (which returns the previous one) for the guard's
// lifetime, then puts the previous one back. The backend is not owned and must outlive the guard.
template <class Backend, Backend* (*install)(Backend*)>
class ScopedInstall {
public:
    explicit ScopedInstall(Backend* backend) : previous_(install(backend)) {}
    ~ScopedInstall() { install(previous_); }
    ScopedInstall(const ScopedInstall&) = delete;
    ScopedInstall& operator=(const ScopedInstall&) = delete;

private:
    Backend* previous_;
};

}  // namespace tam
