#pragma once

#include "ui/PluginPage.h"

namespace orv {

class UnitsPage : public PluginPage {
    Q_OBJECT
public:
    explicit UnitsPage(QWidget* parent = nullptr);
    void LoadCacheParts() override;
    void Recolor() override {}
};

}  // namespace orv
