#pragma once

#include "ui/PluginPage.h"

namespace orv {

class ValuesPage : public PluginPage {
    Q_OBJECT
public:
    explicit ValuesPage(QWidget* parent = nullptr);

};

}  // namespace orv
