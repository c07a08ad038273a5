#include "FormLoader.h"

TFormLoader::TFormLoader(TComponent* root) : root_(root), uncaught_(std::uncaught_exceptions())
{
    root_->BeginLoading();
}

TFormLoader::~TFormLoader()
{
    if (!finished_ && std::uncaught_exceptions() == uncaught_) {
        try {
            Finish();
        } catch (...) {
            HandleControlException(root_);
        }
    }
}

void TFormLoader::Finish()
{
    if (finished_) return;
    finished_ = true;
    for (const auto& link : links_) link();
    for (TComponent* component : components_) component->EndLoading();
    root_->EndLoading();
}
