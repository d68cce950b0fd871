#pragma once

#include "ui/PluginPage.h"

namespace orv {

class TargetsPage : public PluginPage {
    Q_OBJECT
public:
    explicit TargetsPage(QWidget* parent = nullptr);
    void Recolor() override {}
};

}  // namespace orv
