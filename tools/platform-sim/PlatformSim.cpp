#include "PlatformSim.h"

#include "app/Gbk.h"
#include "app/Text.h"

#include <httplib.h>

#include <chrono>
#include <map>
#include <mutex>
#include <set>

namespace pb::sim {

namespace {

// Structured and raw bodies are GBK bytes without encoding; the rest are forms.
const std::set<std::string> kStructured = {"uploadMobile", "downloadMobile", "itemSet"};
const std::set<std::string> kRaw = {"getNotice", "fee", "check"};

std::string actionOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Json locationOf(const std::string& tel) {
    struct Place {
        const char* prefix;
        const char* op;
        const char* province;
        const char* city;
    };
    static constexpr Place kPlaces[] = {{"138", "移动", "广东", "广州"}, {"139", "中国移动", "浙江", "杭州"},
                                        {"130", "联通", "北京", "北京"}, {"133", "电信", "上海", "上海"},
                                        {"189", "中国电信", "四川", "成都"}};
    for (const Place& p : kPlaces) {
        if (tel.size() == 11 && tel.rfind(p.prefix, 0) == 0) {
            Json reply;
            reply["responseHeader"] = {{"status", 200}, {"time", 1552020000}};
            reply["response"][tel]["detail"] = {
                {"operator", p.op}, {"province", p.province}, {"area", {{{"city", p.city}}}}};
            return reply;
        }
    }
    Json reply;
    reply["responseHeader"] = {{"status", 404}};
    return reply;
}

} // namespace

Fields parseBody(const std::string& body, bool decode) {
    Fields fields;
    int depth = 0;
    char quote = 0;
    size_t start = 0;
    auto take = [&](size_t end) {
        std::string piece = body.substr(start, end - start);
        if (piece.empty()) return;
        size_t eq = piece.find('=');
        std::string key = piece.substr(0, eq);
        std::string value = eq == std::string::npos ? std::string() : piece.substr(eq + 1);
        fields.emplace_back(decode ? percentDecode(key, true) : key,
                            decode ? percentDecode(value, true) : value);
    };
    for (size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (quote) {
            if (c == '\\') ++i;
            else if (c == quote) quote = 0;
        } else if (c == '"' && depth > 0) {
            quote = c;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        } else if (c == '&' && depth == 0) {
            take(i);
            start = i + 1;
        }
    }
    take(body.size());
    return fields;
}

struct PlatformSim::Impl {
    httplib::Server server;
    std::thread thread;
    mutable std::mutex lock;
    std::condition_variable wake;
    bool stopping = false;
    std::map<std::string, Fault> faults;
    std::vector<RecordedRequest> requests;

    // Takes one use of the action's fault, if any.
    Fault takeFault(const std::string& action) {
        std::lock_guard<std::mutex> guard(lock);
        auto it = faults.find(action);
        if (it == faults.end() || it->second.kind == FaultKind::None) return {};
        Fault f = it->second;
        if (it->second.remaining > 0 && --it->second.remaining == 0) faults.erase(it);
        return f;
    }

    void sleepFor(int ms) {
        std::unique_lock<std::mutex> guard(lock);
        wake.wait_for(guard, std::chrono::milliseconds(ms), [this] { return stopping; });
    }
};

PlatformSim::PlatformSim() : impl_(std::make_unique<Impl>()) {}

PlatformSim::~PlatformSim() { stop(); }

std::string PlatformSim::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/";
}

void PlatformSim::setFault(const std::string& action, Fault fault) {
    std::lock_guard<std::mutex> guard(impl_->lock);
    impl_->faults[action] = std::move(fault);
}

void PlatformSim::clearFaults() {
    std::lock_guard<std::mutex> guard(impl_->lock);
    impl_->faults.clear();
}

std::vector<RecordedRequest> PlatformSim::requests() const {
    std::lock_guard<std::mutex> guard(impl_->lock);
    return impl_->requests;
}

std::vector<RecordedRequest> PlatformSim::requestsFor(const std::string& action) const {
    std::vector<RecordedRequest> out;
    for (RecordedRequest& r : requests())
        if (r.action == action) out.push_back(std::move(r));
    return out;
}

void PlatformSim::clearRequests() {
    std::lock_guard<std::mutex> guard(impl_->lock);
    impl_->requests.clear();
}

bool PlatformSim::start(int port) {
    Impl& impl = *impl_;
    auto respond = [this](const httplib::Request& req, httplib::Response& res) {
        const std::string action = actionOf(req.path);
        RecordedRequest record{req.method, req.path, {}, {}, req.body, action};
        for (const auto& [k, v] : req.params) record.query += (record.query.empty() ? "" : "&") + k + "=" + v;
        for (const auto& [k, v] : req.headers) record.headers.emplace_back(k, v);
        {
            std::lock_guard<std::mutex> guard(impl_->lock);
            impl_->requests.push_back(record);
        }
        Fault fault = impl_->takeFault(action);
        switch (fault.kind) {
        case FaultKind::Delay:
            impl_->sleepFor(fault.delayMs);
            break;
        case FaultKind::NotJson:
            res.set_content("<html><body><h1>502 Bad Gateway</h1></body></html>", "text/html");
            return;
        case FaultKind::Refuse: {
            Json reply = {{"status", fault.status}, {"message", fault.message}};
            res.set_content(reply.dump(), "application/json; charset=utf-8");
            return;
        }
        case FaultKind::Drop:
            // Announce a body, send a piece of it, then hang up.
            res.set_content_provider(
                200, "application/json", [](size_t, size_t, httplib::DataSink& sink) {
                    sink.write("{\"status\":", 10);
                    return false;
                });
            return;
        case FaultKind::Http500:
            res.status = 500;
            res.set_content("Internal Server Error", "text/plain");
            return;
        case FaultKind::None:
            break;
        }

        if (req.path == "/dianhua_api/open/location") {
            res.set_content(locationOf(req.get_param_value("tel")).dump(), "application/json");
            return;
        }
        if (action == "register.html" || action == "service") {
            std::string title = action == "service" ? "在线客服" : "卡商注册";
            res.set_content("<html><head><meta charset=\"utf-8\"><title>" + title +
                                "</title></head><body><h1>" + title + "</h1></body></html>",
                            "text/html; charset=utf-8");
            return;
        }
        UpdateOffer offer = state_.update();
        if (req.path == "/" + offer.downloadPath) {
            res.set_content(offer.payload, "application/octet-stream");
            return;
        }
        const bool form = !kStructured.count(action) && !kRaw.count(action);
        const std::string text = form ? req.body : decodeGbk(req.body);
        Json reply = state_.handle(action, parseBody(text, form), baseUrl());
        res.set_content(reply.dump(-1, ' ', false, Json::error_handler_t::replace),
                        "application/json; charset=utf-8");
    };
    impl.server.Get(".*", respond);
    impl.server.Post(".*", respond);

    // Control endpoints for scripts driving the stand-alone simulator.
    impl.server.Get("/_sim/fault", [this](const httplib::Request& req, httplib::Response& res) {
        static const std::map<std::string, FaultKind> kKinds = {
            {"none", FaultKind::None},   {"delay", FaultKind::Delay}, {"notjson", FaultKind::NotJson},
            {"refuse", FaultKind::Refuse}, {"drop", FaultKind::Drop}, {"http500", FaultKind::Http500}};
        auto kind = kKinds.find(req.get_param_value("kind"));
        if (kind == kKinds.end() || !req.has_param("action")) {
            res.status = 400;
            res.set_content("usage: /_sim/fault?action=A&kind=delay|notjson|refuse|drop|http500|none"
                            "[&count=N][&delay=MS][&status=S][&message=M]",
                            "text/plain");
            return;
        }
        Fault fault;
        fault.kind = kind->second;
        long long n = 0;
        if (parseInteger(req.get_param_value("count"), n)) fault.remaining = static_cast<int>(n);
        if (parseInteger(req.get_param_value("delay"), n)) fault.delayMs = static_cast<int>(n);
        if (req.has_param("status")) fault.status = req.get_param_value("status");
        if (req.has_param("message")) fault.message = req.get_param_value("message");
        setFault(req.get_param_value("action"), fault);
        res.set_content("ok", "text/plain");
    });
    impl.server.Get("/_sim/requests", [this](const httplib::Request&, httplib::Response& res) {
        Json out = Json::array();
        for (const RecordedRequest& r : requests())
            out.push_back({{"method", r.method}, {"path", r.path}, {"action", r.action},
                           {"body", decodeGbk(r.body)}});
        res.set_content(out.dump(2, ' ', false, Json::error_handler_t::replace), "application/json");
    });

    impl.server.set_keep_alive_max_count(1);
    port_ = port == 0 ? impl.server.bind_to_any_port("127.0.0.1")
                      : (impl.server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (port_ <= 0) return false;
    impl.thread = std::thread([&impl] { impl.server.listen_after_bind(); });
    while (!impl.server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return true;
}

void PlatformSim::stop() {
    if (!impl_->thread.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(impl_->lock);
        impl_->stopping = true;
    }
    impl_->wake.notify_all();
    impl_->server.stop();
    impl_->thread.join();
}

} // namespace pb::sim
