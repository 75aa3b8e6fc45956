#pragma once

namespace corvane {

// A service the program reaches through one interface: the layer that owns the real
// implementation sets it at start-up, a test installs a double over it, and when neither
// has happened the service's own built-in implementation answers.
template <class Service>
class InstallableService {
public:
    static Service& current()
    {
        if (s_installed)
            return *s_installed;
        if (s_real)
            return *s_real;
        return Service::builtIn();
    }
    // A test's double; nullptr restores the real one.
    static void install(Service* service) { s_installed = service; }
    static void setReal(Service* service) { s_real = service; }

private:
    static inline Service* s_installed = nullptr;
    static inline Service* s_real = nullptr;
};

}
