// `gaugehost serve`: the live cockpit on a port of this machine until
// Ctrl+C (or SIGTERM) ends it.
#include <pthread.h>
#include <malloc.h>
#include <signal.h>

#include <atomic>
#include <ostream>
#include <thread>

#include "host/cli/cli_options.h"
#include "host/load/default_panel.h"
#include "host/load/error.h"
#include "host/live/live_server.h"
#include "host/load/text.h"
#include "host/run/window_files.h"

namespace ardelvine::hostapp {

namespace {

ServeOptions serve_options(const Options& o) {
    ServeOptions s;
    s.bind = option(o, "--bind", s.bind);
    if (s.bind.empty()) throw InputError("--bind takes an address of this machine");
    if (o.values.count("--port") > 0) {
        const std::string text = option(o, "--port");
        const auto port = parse_integer(text);
        if (!port || *port < 0 || *port > kMaxPort)
            throw InputError("--port takes a number from 0 (any free port) to " + std::to_string(kMaxPort) + ", not '" +
                             text + "'");
        s.port = static_cast<int>(*port);
    }
    return s;
}

// Ctrl+C and SIGTERM stop the server. They are blocked from the start, before
// the host's sound library or the server starts a thread (each thread
// inherits the mask), so that none of those threads takes one and dies with
// the process; a thread of this program's own waits for them instead.
class StopOnSignal {
public:
    StopOnSignal() {
        sigemptyset(&set_);
        sigaddset(&set_, SIGINT);
        sigaddset(&set_, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &set_, &old_);
    }
    // From here on a signal stops `server`; one that came earlier does so at once.
    void stop(LiveServer& server) {
        waiter_ = std::thread([this, &server] {
            const timespec poll{0, 200 * 1000 * 1000};
            while (!done_) {
                if (sigtimedwait(&set_, nullptr, &poll) > 0) {
                    server.stop();
                    return;
                }
            }
        });
    }
    // No signal stops the server any more (it has stopped, or is about to go).
    void release() {
        done_ = true;
        if (waiter_.joinable()) waiter_.join();
    }
    ~StopOnSignal() {
        release();
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    StopOnSignal(const StopOnSignal&) = delete;
    StopOnSignal& operator=(const StopOnSignal&) = delete;

private:
    sigset_t set_, old_;
    std::atomic<bool> done_{false};
    std::thread waiter_;
};

}  // namespace

int cmd_serve(const Options& o, std::ostream& out, std::ostream& err) {
    StopOnSignal signals;
#ifdef M_MMAP_THRESHOLD
    // Live pictures are allocated and freed many times a second, up to
    // 150 MB each. Served from the heap they reuse the same memory; each its
    // own mapping, every one would be faulted in and zeroed page by page,
    // which costs more than drawing and compressing it.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
    if (o.positional.size() != 1) throw InputError("serve needs one panel configuration (or \"default\")");
    const ServeOptions serve = serve_options(o);
    const std::string lighting = option(o, "--lighting", "day");
    if (lighting != "day" && lighting != "night")
        throw InputError("--lighting takes day or night, not '" + lighting + "'");
    const bool edit = o.values.count("--edit") > 0;
    if (edit && o.positional[0] == "default") throw InputError("--edit needs a panel file to save into, not the built-in panel");
    ServeOptions serve_with = serve;
    if (edit) serve_with.edit = o.positional[0];
    PanelConfig panel = panel_from(o.positional[0]);
    // The built-in panel comes up in its built-in flight unless told otherwise.
    Scenario scenario = o.positional[0] == "default" && o.values.count("--scenario") == 0
                            ? parse_scenario(kDefaultScenario, "(built-in scenario)")
                            : scenario_from(o, panel);
    validate_scenario(panel, scenario);
    // The browser plays the clicks; the host mixes them offline and lists them.
    HostOptions options = host_options(o, err, AudioOutput::OFFLINE);
    options.accept = [warnings = options.accept](const Host& host) {
        warnings(host);
        check_picture_sizes(host, 1.0);
    };
    Host host(std::move(panel), options);
    host.set_night(lighting == "night");
    if (scenario.commands.empty()) host.update();
    host.run(scenario);

    LiveServer server(host, serve_with);
    signals.stop(server);
    out << "gaugehost: serving " << o.positional[0] << " at " << server.address() << " (Ctrl+C stops)" << std::endl;
    if (!loopback_address(serve.bind))
        err << "gaugehost: listening beyond this machine: anyone who can reach " << serve.bind
            << " can see and operate the panel" << std::endl;
    server.run();
    signals.release();
    // Requests in flight were answered or refused; the capture file is completed.
    host.finish_audio();
    return 0;
}

}  // namespace ardelvine::hostapp
