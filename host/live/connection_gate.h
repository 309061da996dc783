// Admission of connections to the live server. A connection holds none of
// the server's threads while its request arrives: one gate thread reads the
// request's header (and its small body) from every waiting connection, and
// only a whole request goes to a server thread, which answers it and closes
// the connection. So clients that send slowly, or not at all, wait in the
// gate, where they cost a socket and a buffer, and leave the threads free.
//
// The gate bounds what clients may hold while their requests arrive (the
// limits are the server's, in live_server.h): a request has kHeaderDeadline
// from its connection to its last header byte; an address keeps at most
// kConnectionsPerClient connections waiting, and the gate at most
// kWaitingConnections. A new connection past either bound pushes out the
// oldest waiting one of its address (else the oldest of all), so a client
// that opens connections without end keeps replacing its own, and a request
// that arrives whole is still answered. Connections being answered are bound
// by the server's threads, and event streams by kMaxStreams.
#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/live/live_server.h"

namespace ardelvine::hostapp {

class GatedServer : public httplib::Server {
public:
    // `threads` answer whole requests; `max_body` is the largest body taken.
    GatedServer(std::size_t threads, std::size_t max_body);
    ~GatedServer() override;

    // Lengthens the listen queue once bound (the library's own is short).
    void widen_backlog();
    // Waits while connections still wait to be accepted (up to `most`), so
    // that stopping answers them rather than resetting them.
    void drain_backlog(std::chrono::milliseconds quiet, std::chrono::milliseconds most);

    ConnectionCounts counts() const;

private:
    class Gate;
    friend class Gate;
    // Called by the library for each accepted connection: hands it to the gate.
    bool process_and_close_socket(socket_t sock) override;
    // A server thread: answers the one request that `head` begins.
    void answer(socket_t sock, std::string head, std::chrono::steady_clock::time_point deadline);

    std::size_t threads_, max_body_;
    Gate* gate_ = nullptr;  // while listening
};

}  // namespace ardelvine::hostapp
