#pragma once

#include "model/CDataNameEntry.h"
#include "model/CDataObjectItem.h"

#include <memory>
#include <string>
#include <vector>

namespace morvi {

// The O part of a level: the four resource name tables and the objects.
class CDataObjects {
public:
    std::string m_strVersion = "1.0";
    std::string m_strLevelName;
    std::string m_strAuthor;
    std::vector<CDataNameEntry> m_Pods;
    std::vector<CDataNameEntry> m_Sprs;
    std::vector<CDataNameEntry> m_Fmes;
    std::vector<CDataNameEntry> m_Sounds;
    std::vector<std::unique_ptr<CDataObjectItem>> m_pObjects;
};

} // namespace morvi
