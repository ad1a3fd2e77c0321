// A table of the server's own on its thread, as a test drives it: one
// browser at a seat, what the table writes to it, and the table's log.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "server/server_table.h"
#include "server/web_link.h"

namespace zarv::testing {

struct BrowserAtTable : server::TableOutlet {
    static constexpr int kBrowser = 11;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> lines;
    std::vector<std::string> log;
    bool closed = false, ended = false;
    std::unique_ptr<server::ServerTable> table;

    explicit BrowserAtTable(server::TableRules rules, server::ResultsSink* results = nullptr) {
        rules.skipPauses = true;
        rules.nextGameAfter = 0;
        table = std::make_unique<server::ServerTable>(1, rules, *this, results);
    }
    ~BrowserAtTable() override { table.reset(); }
    void Sit(const std::string& name = "Eve") {
        table->AdmitBrowser(kBrowser, 1);
        table->Deliver(kBrowser, "Connect;" + name + ";Partner|");
    }
    void Say(const std::string& text) { table->Deliver(kBrowser, text); }

    void Written(int, std::vector<Write> writes) override {
        std::lock_guard lock(mutex);
        for (const Write& w : writes) {
            if (w.connection != kBrowser) continue;
            for (std::string& line : server::WebLink::FromTable(w.text)) lines.push_back(std::move(line));
            closed = closed || w.close;
        }
        changed.notify_all();
    }
    void Changed(int, const std::array<std::string, 5>&, const std::array<net::SeatFill, 5>&, bool) override {}
    void TokenGiven(int, int, const std::string&) override {}
    void TableLog(int, std::string line) override {
        std::lock_guard lock(mutex);
        log.push_back(std::move(line));
        changed.notify_all();
    }
    void Ended(int) override {
        std::lock_guard lock(mutex);
        ended = true;
        changed.notify_all();
    }
    // The next message from the table (the read position is the caller's), or null after the limit.
    nlohmann::json Next(size_t& read) {
        std::unique_lock lock(mutex);
        if (!changed.wait_for(lock, std::chrono::seconds(60), [&] { return read < lines.size() || closed; }))
            return nlohmann::json();
        if (read >= lines.size()) return nlohmann::json();
        return nlohmann::json::parse(lines[read++]);
    }
    // Waits (a minute at most) for a line of the table's log that begins so.
    bool Logged(const std::string& start) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(60), [&] {
            for (const std::string& line : log)
                if (line.rfind(start, 0) == 0) return true;
            return false;
        });
    }
};

} // namespace zarv::testing
