#include "preferences/MCPTab.h"

#include "mcp/MCPServer.h"
#include "preferences/AppVersion.h"
#include "preferences/PreferencesViewModel.h"
#include "store/Settings.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tavlin::preferences {

MCPTab::MCPTab(PreferencesViewModel& model, QWidget* parent)
    : SettingsForm(parent),
      model_(model),
      endpoint_(new QLabel),
      copy_(new QPushButton(u"Copy Setup Prompt"_s)),
      version_(new QLabel(appVersionString())) {
    const PreferencesServices& services = model_.services();

    FormSection* tools = addSection(u"AI tools"_s);
    enabled_ = tools->addSwitch(u"Let AI tools use Tavlin"_s);
    connect(enabled_, &QCheckBox::clicked, &services.settings, &store::Settings::setMcpEnabled);

    endpoint_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tools->addRow(u"Endpoint"_s, endpoint_);
    problem_ = tools->addCaption({});

    auto* connect = new QWidget;
    auto* lines = new QVBoxLayout(connect);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(3);
    lines->addWidget(new QLabel(u"Connect an assistant"_s));
    lines->addWidget(FormSection::makeCaption(
        u"Paste the prompt into any AI assistant that supports MCP, and it can add Tavlin to its own settings."_s,
        tools));
    tools->addRow(connect, copy_);
    QObject::connect(copy_, &QPushButton::clicked, this, &MCPTab::copy);

    description_ = tools->addCaption(
        u"An MCP server for AI assistants on this computer, whoever makes them. They can list, create, complete and "
        "edit your reminders through Tavlin, in the same quick-add language the panel speaks. Only software on this "
        "computer can reach it, and only with the token Tavlin keeps in its data folder."_s,
        false);

    FormSection* about = addSection();
    if (services.checkForUpdates) {
        auto* value = new QWidget;
        auto* layout = new QHBoxLayout(value);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(version_);
        checkForUpdates_ = new QPushButton(u"Check for Updates…"_s);
        layout->addWidget(checkForUpdates_);
        QObject::connect(checkForUpdates_, &QPushButton::clicked, this,
                         [this] { model_.services().checkForUpdates(); });
        about->addRow(u"Version"_s, value);
    } else {
        about->addRow(u"Version"_s, version_);
    }

    QObject::connect(&services.settings, &store::Settings::mcpEnabledChanged, this, &MCPTab::render);
    QObject::connect(&services.mcpServer, &mcp::MCPServer::portChanged, this, &MCPTab::render);
    QObject::connect(&services.mcpServer, &mcp::MCPServer::lastErrorChanged, this, &MCPTab::render);
    render();
}

void MCPTab::render() {
    const bool on = model_.services().settings.mcpEnabled();
    enabled_->setChecked(on);
    const std::optional<QUrl> endpoint = model_.endpoint();
    endpoint_->setText(endpoint ? endpoint->toString() : QString());
    FormSection::rowOf(endpoint_)->setVisible(on && endpoint);
    const std::optional<QString> problem = model_.endpointProblem();
    problem_->setText(problem.value_or(QString()));
    FormSection::rowOf(problem_)->setVisible(on && problem);
    FormSection::rowOf(copy_)->setVisible(on);
}

void MCPTab::copy() {
    // Emptied first, so that no other type of an earlier copy stays beside the text.
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(model_.setupPrompt());
}

}  // namespace tavlin::preferences
