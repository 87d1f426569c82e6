// Each registration is a Qt object of its own; its end stops it at once and
// deletes it later, since it may be the sender of the signal being handled.
#include "platform/qt/QtEventLoop.h"

#include <QAbstractEventDispatcher>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>

namespace ratiscope {

namespace {

// What every registration shares: a flag its end clears before anything
// else, so a call it named that is already on its way is dropped.
struct TLiveFlag {
    std::shared_ptr<bool> live = std::make_shared<bool>(true);

    // `call` as it runs while the registration lives.
    std::function<void()> Guarded(std::function<void()> call) const {
        return [live = std::weak_ptr<bool>(live), call = std::move(call)] {
            if (const auto alive = live.lock(); alive && *alive) call();
        };
    }
};

// Ends a registration: its flag first, then its Qt object, stopped by `stop`.
template <typename Object, typename Stop>
TLoopHandle HandleOf(const TLiveFlag& registration, Object* object, Stop stop) {
    return TLoopHandle([live = registration.live, object = QPointer<Object>(object), stop]() {
        *live = false;
        if (!object) return;
        stop(*object);
        object->deleteLater();
    });
}

}  // namespace

TLoopHandle TQtEventLoop::WatchReadable(int fd, std::function<void()> ready) {
    const TLiveFlag registration;
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, registration.Guarded(std::move(ready)));
    return HandleOf(registration, notifier, [](QSocketNotifier& n) { n.setEnabled(false); });
}

TLoopHandle TQtEventLoop::StartTimer(std::chrono::milliseconds interval, std::function<void()> fire) {
    const TLiveFlag registration;
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, registration.Guarded(std::move(fire)));
    timer->start(std::max(interval, std::chrono::milliseconds::zero()));
    return HandleOf(registration, timer, [](QTimer& t) { t.stop(); });
}

TLoopHandle TQtEventLoop::Post(std::function<void()> call) {
    const TLiveFlag registration;
    auto* context = new QObject;
    // The context goes once the call ran, or with the handle if that ends first.
    QTimer::singleShot(0, context, [context, call = registration.Guarded(std::move(call))] {
        call();
        context->deleteLater();
    });
    return HandleOf(registration, context, [](QObject&) {});
}

TLoopHandle TQtEventLoop::BeforeWait(std::function<void()> before) {
    const TLiveFlag registration;
    auto* context = new QObject;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, context,
                     registration.Guarded(std::move(before)));
    return HandleOf(registration, context, [](QObject&) {});
}

}  // namespace ratiscope
