#pragma once
#include <QAbstractButton>
#include <QWidget>
#include <typeindex>
#include <unordered_map>
#include <utility>

// A window of the game. Each window class exists at most once: the registry
// creates it on first access (running Form_Load), unloads it (running
// Form_Unload, which may cancel) and creates it afresh on the next access.
class FormBase : public QWidget {
    Q_OBJECT
public:
    explicit FormBase(QWidget* parent = nullptr);
    ~FormBase() override;
    virtual void Form_Load() {}
    // Returns true to cancel the unload.
    virtual bool Form_Unload() { return false; }
    bool Unloading() const { return unloading_; }
    // Keeps this window above `owner`'s window: the window manager stacks
    // it over its owner and never lets a click on the owner hide it.
    void StayAbove(QWidget* owner);

    // The keys every desktop window knows: Return presses the focused push
    // button, or `onReturn` when none has the focus; Escape presses
    // `onEscape`. Either may be null (the key then does nothing here).
    void SetKeyButtons(QAbstractButton* onReturn, QAbstractButton* onEscape);

protected:
    // A small fixed window (result, winner entry, About): title and close
    // box only, no minimize or maximize. Call before the window is shown.
    void UseDialogFrame();

    // The close box unloads the window; a cancelled unload keeps it open.
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class Forms;
    bool unloading_ = false;
    QAbstractButton* onReturn_ = nullptr;
    QAbstractButton* onEscape_ = nullptr;
};

class Forms {
public:
    // The window, created and loaded on first access. What the window needs
    // from its opener goes to its constructor (`args`); a window already
    // loaded is returned as it is.
    template <class T, class... Args>
    static T& Get(Args&&... args) {
        if (FormBase* w = Find(typeid(T))) return *static_cast<T*>(w);
        T* w = new T(std::forward<Args>(args)...);
        Register(typeid(T), w);
        w->Form_Load();
        return *w;
    }
    // The window if it is loaded, without creating it.
    template <class T>
    static T* IfLoaded() {
        return static_cast<T*>(Find(typeid(T)));
    }
    template <class T>
    static bool Unload() {
        FormBase* w = Find(typeid(T));
        return w ? Unload(w) : true;
    }
    // Runs the window's unload step; false when it cancelled. The widget is
    // hidden, detached from the registry and deleted once control returns to
    // the event loop, so a handler may unload its own window; while a message
    // box runs, only after the last box has returned.
    static bool Unload(FormBase* w);
    // Whether `w` is the loaded window of its class: false once its unload
    // went through, even while it waits for deletion.
    static bool IsLoaded(const FormBase* w);
    // Drops the window without its unload step, as the process's end does
    // (tests and tools that want a fresh one).
    template <class T>
    static void Discard() {
        delete Find(typeid(T));
    }
    // Drops every window without unload steps (tests; process end).
    static void DiscardAll();

private:
    friend class FormBase;
    static FormBase* Find(std::type_index t);
    static void Register(std::type_index t, FormBase* w);
    static std::unordered_map<std::type_index, FormBase*>& Map();
};
