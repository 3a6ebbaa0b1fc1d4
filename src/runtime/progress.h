#pragma once

#include "rtglobal.h"

#include <QString>

#include <memory>

class QWidget;

namespace Rt {

// Feedback for one long piece of work on the user-interface thread. While the
// scope lives, the windows keep painting and user input to every window is
// dropped, so nobody closes or changes what the work reads; after a short delay
// a progress window shows the count. Leaving the scope, by any path, ends all of it.
class RT_EXPORT ProgressScope
{
public:
    ProgressScope(const QString &text, qint64 total, QWidget *parent = nullptr);
    ~ProgressScope();
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

    // Reports done of total; cheap enough to call for every item. Paints now and
    // then, never more often than every few tens of milliseconds.
    void advance(qint64 done);

    // Whether the progress window has come up.
    bool isShown() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Rt
