#include "host/live/connection_gate.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <cstring>

#include "host/live/request_checks.h"

namespace ardelvine::hostapp {

using Clock = std::chrono::steady_clock;

namespace {

// The connection's peer address, the unit connections are counted by.
std::string peer_of(int sock) {
    sockaddr_storage addr{};
    socklen_t size = sizeof addr;
    if (getpeername(sock, reinterpret_cast<sockaddr*>(&addr), &size) != 0) return "?";
    char text[INET6_ADDRSTRLEN] = "?";
    if (addr.ss_family == AF_INET)
        inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in&>(addr).sin_addr, text, sizeof text);
    else if (addr.ss_family == AF_INET6)
        inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6&>(addr).sin6_addr, text, sizeof text);
    return text;
}

// A short answer written without waiting, for connections the gate ends
// itself; a client that does not read it loses nothing it asked for.
void turn_away(int sock, int status, const char* reason) {
    const char* title = status == 408 ? "Request Timeout" : status == 431 ? "Request Header Fields Too Large"
                        : status == 400 ? "Bad Request"
                                        : "Service Unavailable";
    const std::string body = std::string(reason) + "\n";
    const std::string text = "HTTP/1.1 " + std::to_string(status) + " " + title +
                             "\r\nContent-Type: text/plain; charset=utf-8\r\nConnection: close\r\nContent-Length: " +
                             std::to_string(body.size()) + "\r\n\r\n" + body;
    [[maybe_unused]] const auto sent = ::send(sock, text.data(), text.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
}

// A connection whose request has arrived: the bytes the gate read first,
// then the socket. Every read ends by the request's deadline; writes wait
// as long as the server's write timeout allows.
class GatedStream : public httplib::Stream {
public:
    GatedStream(int sock, std::string head, Clock::time_point deadline, std::chrono::milliseconds write_wait)
        : sock_(sock), head_(std::move(head)), deadline_(deadline), write_wait_(write_wait) {}

    bool is_readable() const override { return at_ < head_.size() || wait(POLLIN, left()); }
    bool is_writable() const override { return wait(POLLOUT, write_wait_); }
    ssize_t read(char* ptr, size_t size) override {
        if (at_ < head_.size()) {
            const std::size_t n = std::min(size, head_.size() - at_);
            std::memcpy(ptr, head_.data() + at_, n);
            at_ += n;
            return static_cast<ssize_t>(n);
        }
        if (!wait(POLLIN, left())) return -1;
        return ::recv(sock_, ptr, size, MSG_DONTWAIT);
    }
    ssize_t write(const char* ptr, size_t size) override {
        if (!is_writable()) return -1;
        return ::send(sock_, ptr, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override { address(false, ip, port); }
    void get_local_ip_and_port(std::string& ip, int& port) const override { address(true, ip, port); }
    socket_t socket() const override { return sock_; }

private:
    std::chrono::milliseconds left() const {
        return std::max(std::chrono::milliseconds(0),
                        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()));
    }
    bool wait(short events, std::chrono::milliseconds within) const {
        pollfd p{sock_, events, 0};
        int n;
        do n = ::poll(&p, 1, static_cast<int>(within.count()));
        while (n < 0 && errno == EINTR);
        return n > 0 && (p.revents & (events | POLLHUP)) != 0 && (p.revents & (POLLERR | POLLNVAL)) == 0;
    }
    void address(bool local, std::string& ip, int& port) const {
        sockaddr_storage addr{};
        socklen_t size = sizeof addr;
        ip.clear();
        port = 0;
        if ((local ? getsockname : getpeername)(sock_, reinterpret_cast<sockaddr*>(&addr), &size) != 0) return;
        char text[INET6_ADDRSTRLEN] = "";
        if (addr.ss_family == AF_INET) {
            const auto& a = reinterpret_cast<const sockaddr_in&>(addr);
            inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
            port = ntohs(a.sin_port);
        } else if (addr.ss_family == AF_INET6) {
            const auto& a = reinterpret_cast<const sockaddr_in6&>(addr);
            inet_ntop(AF_INET6, &a.sin6_addr, text, sizeof text);
            port = ntohs(a.sin6_port);
        }
        ip = text;
    }

    int sock_;
    std::string head_;
    std::size_t at_ = 0;
    Clock::time_point deadline_;
    std::chrono::milliseconds write_wait_;
};

}  // namespace

// The gate thread and the server threads. The library makes it as its task
// queue and gives it each accepted connection (through
// process_and_close_socket), and shuts it down when the server stops.
class GatedServer::Gate : public httplib::TaskQueue {
public:
    explicit Gate(GatedServer& server) : server_(server), wake_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
        gate_ = std::thread([this] { watch(); });
        for (std::size_t i = 0; i < server_.threads_; ++i) threads_.emplace_back([this] { serve(); });
    }
    ~Gate() override {
        if (gate_.joinable()) shutdown();
        ::close(wake_);
        server_.gate_ = nullptr;
    }

    // The library's accept loop: the task runs at once and only hands its
    // connection over (process_and_close_socket below).
    void enqueue(std::function<void()> fn) override { fn(); }

    // Connections still waiting are turned away; requests already whole are
    // answered; then every thread ends.
    void shutdown() override {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        poke();
        ready_cv_.notify_all();
        gate_.join();
        for (auto& t : threads_) t.join();
    }

    void admit(int sock) {
        Waiting w{sock, peer_of(sock), Clock::now(), {}, std::string::npos};
        std::lock_guard lock(mutex_);
        if (stopping_) {
            turn_away(sock, 503, "the server is stopping");
            return;
        }
        arrived_.push_back(std::move(w));
        poke();
    }

    ConnectionCounts counts() const {
        std::lock_guard lock(mutex_);
        return {waiting_.size() + arrived_.size(), serving_, pushed_out_, timed_out_, refused_};
    }

private:
    struct Waiting {
        int sock;
        std::string peer;
        Clock::time_point since;
        std::string bytes;
        std::size_t end = std::string::npos;  // where its header ends, once it has
    };
    struct Whole {
        int sock;
        std::string head;
        Clock::time_point deadline;
    };

    void poke() {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(wake_, &one, sizeof one);
    }

    // Connections of `peer` waiting for their request (gate thread only).
    std::size_t waiting_for(const std::string& peer) const {
        const auto it = per_peer_.find(peer);
        return it == per_peer_.end() ? 0 : it->second;
    }
    void forget(std::list<Waiting>::iterator it) {
        if (--per_peer_[it->peer] == 0) per_peer_.erase(it->peer);
        std::lock_guard lock(mutex_);
        waiting_.erase(it);
    }

    // Makes room for one more waiting connection of `peer`: pushes out its
    // oldest waiting connection, or the oldest of all, unless that one's
    // request has come whole meanwhile. False when nothing of the address
    // can go.
    bool make_room(const std::string& peer) {
        for (;;) {
            const bool client_full = waiting_for(peer) >= kConnectionsPerClient;
            const bool gate_full = waiting_.size() >= kWaitingConnections;
            if (!client_full && !gate_full) return true;
            auto victim = std::find_if(waiting_.begin(), waiting_.end(), [&](const Waiting& w) { return w.peer == peer; });
            if (victim == waiting_.end() && !client_full) victim = waiting_.begin();
            if (victim == waiting_.end()) return false;
            // What it sent may have made its request whole: then it is answered instead.
            if (read_from(victim)) continue;
            turn_away(victim->sock, 503, "pushed out by newer connections from the same client");
            forget(victim);
            ++pushed_out_;
        }
    }

    void watch() {
        std::vector<pollfd> polled;
        std::vector<std::list<Waiting>::iterator> polled_at;
        std::vector<Waiting> arrived;
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (stopping_) break;
                arrived.swap(arrived_);
            }
            for (Waiting& w : arrived) {
                if (!make_room(w.peer)) {
                    turn_away(w.sock, 503, "too many connections from this client");
                    ++refused_;
                    continue;
                }
                ++per_peer_[w.peer];
                std::lock_guard lock(mutex_);
                waiting_.push_back(std::move(w));
            }
            arrived.clear();
            // Deadlines first: the oldest connections are at the front.
            const Clock::time_point now = Clock::now();
            while (!waiting_.empty() && now - waiting_.front().since >= kHeaderDeadline) {
                turn_away(waiting_.front().sock, 408, "the request did not arrive in time");
                forget(waiting_.begin());
                ++timed_out_;
            }
            polled.assign(1, pollfd{wake_, POLLIN, 0});
            polled_at.clear();
            for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
                polled.push_back({it->sock, POLLIN, 0});
                polled_at.push_back(it);
            }
            const auto wait = waiting_.empty() ? kHeaderDeadline
                                               : std::chrono::duration_cast<std::chrono::milliseconds>(
                                                     waiting_.front().since + kHeaderDeadline - now) +
                                                     std::chrono::milliseconds(1);
            if (::poll(polled.data(), polled.size(), static_cast<int>(wait.count())) < 0 && errno != EINTR) break;
            if (polled[0].revents != 0) {
                std::uint64_t n;
                [[maybe_unused]] const auto r = ::read(wake_, &n, sizeof n);
            }
            for (std::size_t i = 1; i < polled.size(); ++i)
                if (polled[i].revents != 0) read_from(polled_at[i - 1]);
        }
        // Stopping: whatever has not arrived whole is turned away.
        std::lock_guard lock(mutex_);
        for (Waiting& w : waiting_) turn_away(w.sock, 503, "the server is stopping");
        for (Waiting& w : arrived_) turn_away(w.sock, 503, "the server is stopping");
        for (Waiting& w : arrived) turn_away(w.sock, 503, "the server is stopping");
        waiting_.clear();
        arrived_.clear();
    }

    // Reads what a waiting connection sent; hands it on once its request is
    // whole. True when it is no longer waiting (handed on, or ended).
    bool read_from(std::list<Waiting>::iterator it) {
        Waiting& w = *it;
        const std::size_t limit = kMaxHeaderBytes + server_.max_body_;
        char buffer[4096];
        const std::size_t before = w.bytes.size();
        const ssize_t n = ::recv(w.sock, buffer, std::min(sizeof buffer, limit - w.bytes.size()), MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            ::close(w.sock);
            forget(it);
            return true;
        }
        if (n > 0) w.bytes.append(buffer, static_cast<std::size_t>(n));
        // The blank line may begin up to three bytes before what just came.
        if (w.end == std::string::npos) w.end = header_end(w.bytes, before >= 3 ? before - 3 : 0);
        const std::size_t end = w.end;
        if (end == std::string::npos ? w.bytes.size() >= kMaxHeaderBytes : end > kMaxHeaderBytes) {
            turn_away(w.sock, 431, "the request's header is too large");
            forget(it);
            return true;
        }
        if (end == std::string::npos) return false;
        // Whole when its body is here too; a body of unknown or refused
        // length goes on as it is, within the request's deadline.
        const BodyAnnounced body = body_announced(w.bytes.substr(0, end));
        if (body.malformed) {
            turn_away(w.sock, 400, "the request's Content-Length is malformed");
            forget(it);
            return true;
        }
        if (!body.open && body.length <= server_.max_body_ && w.bytes.size() < end + body.length) return false;
        {
            std::lock_guard lock(mutex_);
            ready_.push_back({w.sock, std::move(w.bytes), w.since + kHeaderDeadline});
            ++serving_;
        }
        ready_cv_.notify_one();
        forget(it);
        return true;
    }

    void serve() {
        for (;;) {
            Whole whole;
            {
                std::unique_lock lock(mutex_);
                ready_cv_.wait(lock, [&] { return stopping_ || !ready_.empty(); });
                if (ready_.empty()) return;
                whole = std::move(ready_.front());
                ready_.pop_front();
            }
            server_.answer(whole.sock, std::move(whole.head), whole.deadline);
            std::lock_guard lock(mutex_);
            --serving_;
        }
    }

    GatedServer& server_;
    const int wake_;
    std::thread gate_;
    std::vector<std::thread> threads_;

    std::map<std::string, std::size_t> per_peer_;  // gate thread only
    std::atomic<std::size_t> pushed_out_{0}, timed_out_{0}, refused_{0};

    mutable std::mutex mutex_;
    bool stopping_ = false;
    std::vector<Waiting> arrived_;  // handed over, not yet seen by the gate thread
    std::list<Waiting> waiting_;    // changed by the gate thread alone; oldest first
    std::deque<Whole> ready_;
    std::condition_variable ready_cv_;
    std::size_t serving_ = 0;
};

GatedServer::GatedServer(std::size_t threads, std::size_t max_body) : threads_(threads), max_body_(max_body) {
    new_task_queue = [this] {
        gate_ = new Gate(*this);
        return gate_;
    };
}

GatedServer::~GatedServer() = default;

void GatedServer::widen_backlog() {
    if (svr_sock_ != INVALID_SOCKET) ::listen(svr_sock_, kListenBacklog);
}

void GatedServer::drain_backlog(std::chrono::milliseconds quiet, std::chrono::milliseconds most) {
    const auto until = Clock::now() + most;
    auto calm_since = Clock::now();
    while (Clock::now() < until && Clock::now() - calm_since < quiet) {
        const socket_t sock = svr_sock_;
        if (sock == INVALID_SOCKET) return;
        pollfd p{sock, POLLIN, 0};
        if (::poll(&p, 1, 1) > 0) calm_since = Clock::now();
        else std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

ConnectionCounts GatedServer::counts() const { return gate_ != nullptr ? gate_->counts() : ConnectionCounts{}; }

bool GatedServer::process_and_close_socket(socket_t sock) {
    gate_->admit(sock);
    return true;
}

void GatedServer::answer(socket_t sock, std::string head, Clock::time_point deadline) {
    GatedStream stream(sock, std::move(head), deadline, std::chrono::seconds(write_timeout_sec_));
    bool closed = false;
    process_request(stream, true, closed, nullptr);
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
}

}  // namespace ardelvine::hostapp
