// Builds a form from its description in one place, in the order the
// framework's loading rules need:
//
//   TFormLoader load(this);                        // the form is loading
//   auto* label = load.Add<TLabel>(L"lblTime", this, [](TLabel& l) {
//       l.SetBounds(10, 10, 40, 20);               // properties in published order
//   });
//   auto* shaper = load.Add<TkypSkinControl>(L"skc_play");
//   load.Link([=] { shaper->SetControl(button); }); // references: after all exist
//   load.Finish();                                  // links, then Loaded on each, then the form
//
// Every component is owned by the root and is in the loading state
// (csLoading) from its creation until Finish calls its Loaded once.
#pragma once

#include <exception>
#include <functional>
#include <type_traits>
#include <vector>

#include "Controls.h"

class TFormLoader {
public:
    explicit TFormLoader(TComponent* root);
    TFormLoader(const TFormLoader&) = delete;
    TFormLoader& operator=(const TFormLoader&) = delete;
    // Finishes a description left unfinished, unless an exception is on its
    // way out (the half-built components go with their owner then).
    ~TFormLoader();

    template <class T>
    T* Add(const String& name, TWinControl* parent = nullptr, const std::function<void(T&)>& properties = {})
    {
        T* component = New<T>(root_);
        component->SetName(name);
        component->BeginLoading();
        components_.push_back(component);
        if constexpr (std::is_base_of_v<TControl, T>) {
            if (parent) component->SetParent(parent);
        }
        if (properties) properties(*component);
        return component;
    }

    // Runs in Finish, in the order given, once every component exists.
    void Link(std::function<void()> bind) { links_.push_back(std::move(bind)); }
    void Finish();
    bool Finished() const { return finished_; }

private:
    TComponent* root_;  // not owned
    std::vector<TComponent*> components_;  // owned by root_
    std::vector<std::function<void()>> links_;
    int uncaught_;
    bool finished_ = false;
};
