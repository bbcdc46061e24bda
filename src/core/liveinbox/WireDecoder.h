#pragma once

#include "LiveMutationResult.h"
#include "LiveSendResult.h"
#include "LiveSnapshot.h"
#include "LiveStateHint.h"
#include "LiveSubscriptions.h"
#include "NotchConfiguration.h"
#include "Result.h"
#include "VisualizationFile.h"

#include <QByteArray>

#include <string_view>
#include <vector>

// Strict decoding of every JSON document the application reads: the whole input must be exactly one
// document of the expected record; keys match exactly; required keys must be present and not null;
// types are checked (an integer with a fraction part fails); unknown keys are ignored. A failure is one
// line naming where it failed, e.g. "messages[3].focusIndex: missing" or "invalid JSON at byte 12
// (unexpected character)".
class WireDecoder
{
public:
    static Result<NotchConfiguration> configuration(const QByteArray &bytes);
    static Result<LiveSnapshot> snapshot(const QByteArray &bytes);
    static Result<LiveMutationResult> mutationResult(const QByteArray &bytes);
    static Result<LiveSendResult> sendResult(const QByteArray &bytes);
    static Result<LiveSubscriptions> subscriptions(const QByteArray &bytes);
    static Result<LiveStateHint> stateHint(const QByteArray &bytes);
    static Result<std::vector<VisualizationFile>> visualizationFiles(std::string_view json);
};
