// The live cockpit: a web server in front of a LivePanel. It serves the
// cockpit page, the windows' pictures, an event stream of what changed, the
// module's click sounds, and takes mouse actions and changes to the
// simulation as small JSON requests, each handed to the panel thread.
//
// Requests are checked before anything is handed on: a bad one is answered
// 4xx with a one-line reason and changes nothing. Only the page, the panel's
// pictures and state and the module's own sounds are served; no file is read.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/live/live_panel.h"

namespace ardelvine::hostapp {

class GatedServer;
class PanelDesigner;

struct ServeOptions {
    std::string bind = "127.0.0.1";
    int port = 8018;  // 0: any free port
    RollingRecords records;
    // The panel file the designer edits and saves (`serve --edit`); empty: no designer.
    std::string edit;
};

// The largest request body taken, far beyond any request the page makes.
inline constexpr std::size_t kMaxRequestBody = 4096;
// The highest TCP port; 0 asks for any free one.
inline constexpr int kMaxPort = 0xFFFF;
// Event streams open at once; each keeps one of the server's threads.
inline constexpr int kMaxStreams = 16;
// What one client may hold while its requests arrive (connection_gate.h):
// the time from its connection to its request's last header byte, the
// connections of one address still waiting for their request, and the
// connections waiting in all.
inline constexpr std::chrono::milliseconds kHeaderDeadline{4000};
inline constexpr std::size_t kConnectionsPerClient = 128;
inline constexpr std::size_t kWaitingConnections = 512;
// Far beyond any header the page's browser sends.
inline constexpr std::size_t kMaxHeaderBytes = 16384;
// Connections waiting to be accepted: a burst of clients waits in the
// kernel rather than being reset.
inline constexpr int kListenBacklog = 512;

// Whether `address` is one only this machine can reach: "localhost", or an
// IPv4 or IPv6 loopback address in any spelling.
bool loopback_address(const std::string& address);

// What the connection gate holds and did so far (connection_gate.h).
struct ConnectionCounts {
    std::size_t waiting = 0, serving = 0;             // connections now
    std::size_t pushed_out = 0, timed_out = 0, refused = 0;  // turned away so far
};

class LiveServer {
public:
    // Binds the address, before any live update runs; throws InputError
    // when it cannot. `host` is driven from the panel thread from run() on.
    LiveServer(Host& host, const ServeOptions& options);
    ~LiveServer();
    LiveServer(const LiveServer&) = delete;
    LiveServer& operator=(const LiveServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:8018/"
    std::string address() const;

    // Runs the panel and serves until stop().
    void run();
    // Ends run(): no more requests, the panel thread stops. Safe from any thread.
    void stop();
    bool serving() const;

    LivePanel& panel() { return *panel_; }
    ConnectionCounts connection_counts() const;

private:
    void routes();
    // The layout the page is given, and the windows requests may name: made
    // on the panel thread at start and after every designer's edit.
    struct Layout {
        struct Window {
            int index;
            std::uint32_t ident;
        };
        std::string json;
        std::vector<Window> windows;
    };
    void laid_out(Host& host);
    std::shared_ptr<const Layout> layout() const;

    Host& host_;
    ServeOptions options_;
    int port_ = 0;
    std::unique_ptr<GatedServer> server_;
    std::unique_ptr<LivePanel> panel_;
    mutable std::mutex layout_mutex_;
    std::shared_ptr<const Layout> layout_;
    std::map<std::uint32_t, std::string> waves_;  // the module's sounds by id
    std::atomic<int> streams_{0};
    // `state` documents being written; a reader waits for its turn.
    struct StateTurn {
        explicit StateTurn(LiveServer& server);
        ~StateTurn();
        LiveServer& server;
    };
    std::mutex state_mutex_;
    std::condition_variable state_turn_;
    int state_writers_ = 0;
    std::atomic<bool> running_{false}, stopping_{false};
    std::unique_ptr<PanelDesigner> designer_;
};

}  // namespace ardelvine::hostapp
