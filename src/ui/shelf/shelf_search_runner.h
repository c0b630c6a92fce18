#pragma once

#include <QObject>
#include <QString>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "core/shelf.h"

namespace tomlet {

// Searches the shelf on a thread of its own, with a connection of its own, so that the window
// keeps taking keys while a query runs. A new search stops the one still running; only the
// newest one's results arrive, on the thread that owns the runner.
class ShelfSearchRunner final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShelfSearchRunner)

public:
    // `shelfPath` in UTF-8; the shelf must have been opened for maintenance first.
    explicit ShelfSearchRunner(std::string shelfPath, QObject* parent = nullptr);
    ~ShelfSearchRunner() override;

    void Start(ShelfQuery query);
    // Stops the running search; nothing more arrives from it.
    void Stop();

Q_SIGNALS:
    // The hits kept, as soon as there are as many as the limit (`counted` false, Total not final),
    // and again once every hit is counted.
    void Found(const tomlet::ShelfHits& hits, bool counted);
    void Failed(const QString& error);

private:
    void Work(std::stop_token stop);
    // Hands a result over to the owner's thread, where it is dropped if a newer search began.
    void Deliver(std::uint64_t generation, ShelfHits hits, bool counted);
    void DeliverFailure(std::uint64_t generation, const std::string& error);

    const std::string m_path;
    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    std::optional<ShelfQuery> m_pending;
    std::uint64_t m_generation = 0;  // of the newest search
    std::stop_source m_running;      // stops the search under way
    std::jthread m_thread;           // last, so that it stops before the rest goes
};

}  // namespace tomlet
