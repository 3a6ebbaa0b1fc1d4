#pragma once

#include "RuleCheck.h"

#include <QString>

// The working-time rules and their breaches in the operator's words.
namespace RuleWording {

// "每日工时上限", "连续工作天数", ...
QString title(Schedule::Rule rule);

// One breach as a sentence: "连续工作 7 天，没有休息日", "本月加班已达 38 小时，超过
// 36 小时", "一车间甲班 2026-12-08 在岗 11 人，低于最少 12 人". departmentName names
// the department of a coverage breach.
QString describe(const BreachRow &breach, const QString &departmentName = {});

// Minutes as hours: "38 小时", "12 小时 30 分".
QString hours(int minutes);

} // namespace RuleWording
