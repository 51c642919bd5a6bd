#include "core/engine/ReminderEngine.h"

namespace pelliwig {

void ReminderEngine::noticeApp(const TickContext& context, std::optional<AppBucket> bucket) {
    const auto said = apps_.notice(context, bucket);
    if (!said) return;
    fire(plainCue(ReminderKind::appSwitch, std::nullopt, said->text, Face::mood(said->mood)));
}

std::optional<ReminderEngine::Said> ReminderEngine::appSwitchLine(AppBucket bucket,
                                                                  const std::string& name,
                                                                  std::optional<AppBucket> previous,
                                                                  double stretch, int at) {
    return apps_.remark(bucket, name, previous, stretch, at);
}

}  // namespace pelliwig
