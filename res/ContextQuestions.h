// The questions whose answers describe the project's circumstances (its
// history, its company, its market) rather than a practice the team can take
// up. Improvement advice marks them as context instead of offering them.
#pragma once

#include <cstdint>
#include <span>

// Question indices (0-based), ascending.
std::span<const std::uint32_t> ContextQuestions();

bool IsContextQuestion(std::uint32_t nQuestion);
