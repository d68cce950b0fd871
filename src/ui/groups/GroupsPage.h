#pragma once

#include "ui/PluginPage.h"

namespace orv {

class GroupsPage : public PluginPage {
    Q_OBJECT
public:
    explicit GroupsPage(QWidget* parent = nullptr);
    void LoadCacheParts() override;
    void Recolor() override {}
};

}  // namespace orv
