#pragma once

#include <functional>

class QObject;
class TcxStyleRepository;

// The styling pass of plug-in windows: views take their style sheets from the
// host's repository, editors a focused colour; frames, tab sheets and embedded
// forms are styled in turn.
namespace WindowStyling {

// Fetches the repository; called anew for every view styled.
using RepositoryProvider = std::function<TcxStyleRepository *()>;

void apply(QObject *container, const RepositoryProvider &repository);

} // namespace WindowStyling
