#include "ui/groups/GroupsPage.h"

#include "data/RecordCache.h"

namespace orv {

GroupsPage::GroupsPage(QWidget* parent) : PluginPage(parent) { setObjectName(QStringLiteral("GroupsPage")); }

void GroupsPage::LoadCacheParts() {
    if (!cache_) return;
    cache_->LoadTargetNames(db_);
    cache_->LoadGroupNames(db_);
    cache_->LoadGroupCategories(db_);
}

}  // namespace orv
