#include "ui/shelf/shelf_search_runner.h"

#include <exception>
#include <memory>

namespace tomlet {

ShelfSearchRunner::ShelfSearchRunner(std::string shelfPath, QObject* parent)
    : QObject(parent),
      m_path(std::move(shelfPath)),
      m_thread([this](std::stop_token stop) { Work(std::move(stop)); }) {}

ShelfSearchRunner::~ShelfSearchRunner() {
    Stop();
    m_thread.request_stop();
    m_thread.join();
}

void ShelfSearchRunner::Start(ShelfQuery query) {
    const std::scoped_lock lock(m_mutex);
    m_running.request_stop();
    m_running = std::stop_source();
    m_pending = std::move(query);
    ++m_generation;
    m_wake.notify_one();
}

void ShelfSearchRunner::Stop() {
    const std::scoped_lock lock(m_mutex);
    m_running.request_stop();
    m_pending.reset();
    ++m_generation;
}

void ShelfSearchRunner::Work(std::stop_token stop) {
    std::unique_ptr<Shelf> shelf;
    for (;;) {
        ShelfQuery query;
        std::uint64_t generation = 0;
        std::stop_token running;
        {
            std::unique_lock lock(m_mutex);
            if (!m_wake.wait(lock, stop, [this] { return m_pending.has_value(); }))
                return;
            query = std::move(*m_pending);
            m_pending.reset();
            generation = m_generation;
            running = m_running.get_token();
        }
        try {
            if (!shelf)
                shelf = std::make_unique<Shelf>(m_path, Shelf::Access::Search);
            ShelfHits found = shelf->Search(
                query, running, [&](const ShelfHits& first) { Deliver(generation, first, false); });
            if (found.Complete)
                Deliver(generation, std::move(found), true);
        } catch (const std::exception& error) {
            shelf.reset();  // opened afresh for the next search
            DeliverFailure(generation, error.what());
        }
    }
}

void ShelfSearchRunner::Deliver(std::uint64_t generation, ShelfHits hits, bool counted) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, hits = std::move(hits), counted] {
            if (generation == m_generation)
                Q_EMIT Found(hits, counted);
        },
        Qt::QueuedConnection);
}

void ShelfSearchRunner::DeliverFailure(std::uint64_t generation, const std::string& error) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, text = QString::fromUtf8(error)] {
            if (generation == m_generation)
                Q_EMIT Failed(text);
        },
        Qt::QueuedConnection);
}

}  // namespace tomlet
