// The project file: 348 bytes, no header. Offsets 0 to 323 hold the selected
// answer index of questions 0 to 80 as little-endian unsigned 32-bit integers;
// then the schedule, cost and technical weights as little-endian IEEE 754
// doubles at 324, 332 and 340.
#pragma once

#include "model/RiskModel.h"

#include <cstddef>
#include <string>
#include <string_view>

constexpr std::size_t PROJECT_FILE_SIZE = 348;

// The 348 bytes of the project.
std::string MakeProjectBytes(const CRiskModel& model);

// Writes the project file, replacing strPath only once it is complete (see
// CFile). Leaves the modified state alone: the caller clears it after
// success, so a failed save keeps the project marked as changed.
// Throws CFileException.
void SaveProject(const CRiskModel& model, const std::string& strPath);

// Puts the first 348 bytes of a project file into the model: the answers
// through SetSelected in question order (which clamps them to the scale), the
// weights as stored through SetScheduleWeight, SetCostWeight and
// SetTechnicalWeight, then ClearModified. Fewer bytes are a damaged file: the
// end-of-file CFileException naming strName, and the model is not touched.
void ApplyProjectBytes(CRiskModel& model, std::string_view bytes, const std::string& strName);

// Reads the project file strPath into the model as ApplyProjectBytes does.
// Every failure (missing, locked, unreadable or short file) throws
// CFileException before the model is touched; bytes after 348 are ignored.
// The message of a short file names the recovery copy a killed save left
// beside it, if there is one.
void LoadProject(CRiskModel& model, const std::string& strPath);
