#include "support/ModuleFixture.h"

#include "data/HostExtensions.h"

namespace orv::test {

void ModuleFixture::SetUp() {
    ASSERT_TRUE(dir_.isValid());
    std::string error;
    // A short wait, so that tests of a database held by another program
    // see the refusal at once; the host's extensions as orv-desktop hands them over.
    hostdb::SqliteHostDatabase::OpenOptions options;
    options.busyTimeoutMs = 200;
    db_ = hostdb::SqliteHostDatabase::Open(dir_.filePath("orv.sqlite").toStdString(), options, &error);
    ASSERT_TRUE(db_) << error;
    SetCurrentHostExtensions(db_->extensions());
    store_ = std::make_unique<QtKeyValueStore>(dir_.filePath("user.ini"), dir_.filePath("system.ini"));
    settings_ = std::make_unique<ViewSettings>(store_.get());
    host_ = std::make_unique<QWidget>();
    host_->resize(900, 640);
}

void ModuleFixture::TearDown() {
    window_.reset();
    host_.reset();
    SetCurrentHostExtensions(nullptr);
}

PluginMainWindow& ModuleFixture::OpenMainWindow() {
    if (!window_) {
        window_ = std::make_unique<PluginMainWindow>(db_.get(), *settings_, cache_, &colors_);
        window_->Create(host_.get());
    }
    return *window_;
}

ViewSettings ModuleFixture::ReloadedSettings() {
    ViewSettings fresh(store_.get());
    fresh.Load(db_.get());
    return fresh;
}

}  // namespace orv::test
