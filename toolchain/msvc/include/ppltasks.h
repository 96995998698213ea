// Stands in for ppltasks.h of Visual C++'s concurrency runtime, which the
// standard library's <future> uses to run std::async(std::launch::async, ...)
// work: here each task is a thread of its own, joined by the first wait.
#pragma once
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace Concurrency {
template <class _Ty>
class task;

template <>
class task<void> {
public:
    struct _State {
        std::mutex _Lock;
        std::thread _Thread;
    };

    task() = default;
    explicit task(std::shared_ptr<_State> _St) : _St(std::move(_St)) {}

    void wait() const {
        if (!_St) return;
        std::lock_guard<std::mutex> _Guard(_St->_Lock);
        if (_St->_Thread.joinable()) _St->_Thread.join();
    }

private:
    std::shared_ptr<_State> _St;
};

template <class _Func>
task<void> create_task(_Func _Fn) {
    auto _St = std::make_shared<task<void>::_State>();
    _St->_Thread = std::thread(std::move(_Fn));
    return task<void>(std::move(_St));
}
}  // namespace Concurrency
