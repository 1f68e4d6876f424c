#pragma once

#include <QString>

namespace quillet {

// The four fields of the page being made.
struct SubPage {
    QString outputPath;  // full path of the page file; "" = none chosen
    QString title;
    QString body;      // plain text, line breaks as CR LF
    QString nextLink;  // address of the following page
};

// Where the writer reads the fields at the moment it runs: the editor
// window's controls in the program, a plain SubPage elsewhere.
class SubPageSource {
public:
    virtual ~SubPageSource() = default;
    virtual QString outputPath() const = 0;
    virtual QString title() const = 0;
    virtual QString body() const = 0;
    virtual QString nextLink() const = 0;
    virtual void setNextLink(const QString& address) = 0;

protected:
    SubPageSource() = default;
    SubPageSource(const SubPageSource&) = default;
    SubPageSource& operator=(const SubPageSource&) = default;
    SubPageSource(SubPageSource&&) = default;
    SubPageSource& operator=(SubPageSource&&) = default;
};

// A source that holds its fields itself.
class StoredSubPage final : public SubPageSource {
public:
    explicit StoredSubPage(SubPage page) : page_(std::move(page)) {}

    QString outputPath() const override { return page_.outputPath; }
    QString title() const override { return page_.title; }
    QString body() const override { return page_.body; }
    QString nextLink() const override { return page_.nextLink; }
    void setNextLink(const QString& address) override { page_.nextLink = address; }

    const SubPage& page() const { return page_; }

private:
    SubPage page_;
};

}  // namespace quillet
