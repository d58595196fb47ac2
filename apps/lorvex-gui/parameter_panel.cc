#include "apps/lorvex-gui/parameter_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "export/palette.h"

namespace lorvex::gui {

namespace {

constexpr int kSwatchPixels = 14;
constexpr const char* kPresetExtension = ".kst";

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

std::string Key(const char* name, int index) { return std::string(name) + "(" + std::to_string(index) + ")"; }

// A colour swatch of the legend.
QLabel* Swatch(Rgb colour, QWidget* parent) {
  QPixmap square(kSwatchPixels, kSwatchPixels);
  square.fill(QColor(colour.r, colour.g, colour.b));
  QPainter frame(&square);
  frame.setPen(QColor(0, 0, 0, 96));
  frame.drawRect(0, 0, kSwatchPixels - 1, kSwatchPixels - 1);
  auto* label = new QLabel(parent);
  label->setPixmap(square);
  return label;
}

// A name a preset file may carry: letters, digits, blanks, "-" and "_".
bool IsPresetName(const QString& name) {
  static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9 _-]{1,64}$"));
  return allowed.match(name).hasMatch() && !name.trimmed().isEmpty();
}

}  // namespace

TerrainLegend::TerrainLegend(QWidget* parent) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  int row = 0;
  for (std::size_t i = 0; i < kPalette.size(); ++i) {
    const PaletteEntry& entry = kPalette[i];
    // Entries sharing the colour of an earlier one are that one's line.
    bool seen = false;
    for (std::size_t j = 0; j < i; ++j) seen = seen || kPalette[j].colour == entry.colour;
    if (seen) continue;
    QString name = FromUtf8(std::string(entry.name));
    // "border water (top)" stands for the three border waters.
    name = name.section(QStringLiteral(" ("), 0, 0);
    names_.push_back(name);
    grid->addWidget(Swatch(entry.colour, this), row / 2, (row % 2) * 2);
    auto* text = new QLabel(name, this);
    text->setObjectName(QStringLiteral("legend-%1").arg(QLatin1Char(entry.code)));
    grid->addWidget(text, row / 2, (row % 2) * 2 + 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
}

ParameterPanel::ParameterPanel(clsBuild& builder, QString presetsFolder, QWidget* parent)
    : QWidget(parent), builder_(builder), presetsFolder_(std::move(presetsFolder)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(6, 6, 6, 6);

  // Presets and Defaults.
  auto* presetRow = new QHBoxLayout;
  presets_ = new QComboBox(this);
  presets_->setObjectName(QStringLiteral("presets"));
  presets_->setToolTip(QStringLiteral("Named parameter sets kept by the app"));
  auto* savePreset = new QPushButton(QStringLiteral("Save As..."), this);
  savePreset->setObjectName(QStringLiteral("savePreset"));
  auto* defaults = new QPushButton(QStringLiteral("Defaults"), this);
  defaults->setObjectName(QStringLiteral("defaults"));
  presetRow->addWidget(presets_, 1);
  presetRow->addWidget(savePreset);
  presetRow->addWidget(defaults);
  column->addLayout(presetRow);
  connect(presets_, &QComboBox::activated, this, [this](int index) {
    if (index > 0) LoadPreset(presets_->itemText(index));
  });
  connect(savePreset, &QPushButton::clicked, this, [this] {
    bool ok = false;
    const QString name = QInputDialog::getText(this, QStringLiteral("Save Preset"),
                                               QStringLiteral("Name (letters, digits, blanks, - and _):"),
                                               QLineEdit::Normal, QString(), &ok);
    if (ok) SavePreset(name.trimmed());
  });
  connect(defaults, &QPushButton::clicked, this, [this] { Defaults(); });

  // Land masses: number and size by class, Lo and Hi, and the tiny islands' total.
  auto* land = new QGroupBox(QStringLiteral("Land masses (Lo - Hi)"), this);
  auto* landGrid = new QGridLayout(land);
  landGrid->addWidget(new QLabel(QStringLiteral("Number"), land), 0, 1, 1, 2, Qt::AlignCenter);
  landGrid->addWidget(new QLabel(QStringLiteral("Size in squares"), land), 0, 3, 1, 2, Qt::AlignCenter);
  const char* classes[] = {"Large", "Medium", "Small"};
  for (int r = 0; r < 3; ++r) {
    landGrid->addWidget(new QLabel(QString::fromLatin1(classes[r]), land), r + 1, 0);
    for (int c = 0; c < 2; ++c)
      for (int h = 0; h < 2; ++h)
        landGrid->addWidget(NumberField(Key("txtLandMass", 6 * r + 2 * c + h), c == 0 ? 4 : 6), r + 1, 1 + 2 * c + h);
  }
  landGrid->addWidget(new QLabel(QStringLiteral("Tiny islands"), land), 4, 0, 1, 3);
  landGrid->addWidget(NumberField(Key("txtLandMass", 18), 6), 4, 3);
  landGrid->addWidget(NumberField(Key("txtLandMass", 19), 6), 4, 4);
  landGrid->setColumnStretch(5, 1);
  column->addWidget(land);

  // The shaping algorithms: allowed, and their weights.
  auto* shaping = new QGroupBox(QStringLiteral("Algorithms (allowed, weight)"), this);
  auto* shapingGrid = new QGridLayout(shaping);
  const char* algorithms[] = {"Wandering Blob", "Stick Blob", "Shapes"};
  for (int i = 0; i < 3; ++i) {
    auto* allowed = new QCheckBox(QString::fromLatin1(algorithms[i]), shaping);
    const std::string key = Key("chkAlgorithm", i);
    Register(key, allowed);
    connect(allowed, &QCheckBox::clicked, this, [this, key](bool on) { Apply(key, on ? "1" : "0"); });
    shapingGrid->addWidget(allowed, i, 0);
    shapingGrid->addWidget(NumberField(Key("txtAlgorithm", i), 3), i, 1);
  }
  shapingGrid->setColumnStretch(2, 1);
  column->addWidget(shaping);

  // Terrain shares in per cent of the land.
  auto* terrain = new QGroupBox(QStringLiteral("Terrain % (Lo - Hi)"), this);
  auto* terrainGrid = new QGridLayout(terrain);
  const char* kinds[] = {"Rivers", "Forest", "Rough", "Mountains"};
  for (int k = 0; k < 4; ++k) {
    terrainGrid->addWidget(new QLabel(QString::fromLatin1(kinds[k]), terrain), k / 2, (k % 2) * 3);
    terrainGrid->addWidget(NumberField(Key("txtTerrain", 2 * k), 2), k / 2, (k % 2) * 3 + 1);
    terrainGrid->addWidget(NumberField(Key("txtTerrain", 2 * k + 1), 2), k / 2, (k % 2) * 3 + 2);
  }
  terrainGrid->setColumnStretch(6, 1);
  column->addWidget(terrain);

  // Cities: how their number is found, and the number.
  auto* cities = new QGroupBox(QStringLiteral("Cities"), this);
  auto* citiesGrid = new QGridLayout(cities);
  auto* how = new QComboBox(cities);
  how->addItems({QStringLiteral("Specify"), QStringLiteral("Calculate (Land)"), QStringLiteral("Calculate (Map)")});
  const std::string howKey = Key("cboCityNumber", 0);
  Register(howKey, how);
  connect(how, &QComboBox::activated, this, [this, howKey](int index) { Apply(howKey, std::to_string(index)); });
  citiesGrid->addWidget(how, 0, 0, 1, 4);
  citiesGrid->setColumnStretch(3, 1);
  citiesGrid->addWidget(new QLabel(QStringLiteral("Number"), cities), 1, 0);
  citiesGrid->addWidget(NumberField(Key("txtCities", 0), 5), 1, 1);
  citiesGrid->addWidget(NumberField(Key("txtCities", 1), 5), 1, 2);
  column->addWidget(cities);

  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("panelNote"));
  note_->setWordWrap(true);
  note_->setTextFormat(Qt::PlainText);
  column->addWidget(note_);

  auto* map = new QGroupBox(QStringLiteral("Map"), this);
  auto* mapColumn = new QVBoxLayout(map);
  cities_ = new QCheckBox(QStringLiteral("Show cities"), map);
  cities_->setObjectName(QStringLiteral("showCities"));
  cities_->setChecked(true);
  connect(cities_, &QCheckBox::toggled, this, [this](bool on) {
    if (onCitiesShown_) onCitiesShown_(on);
  });
  mapColumn->addWidget(cities_);
  legend_ = new TerrainLegend(map);
  mapColumn->addWidget(legend_);
  column->addWidget(map);
  column->addStretch(1);

  FillPresets();
  Refresh();
}

QLineEdit* ParameterPanel::NumberField(const std::string& key, int digits) {
  auto* box = new QLineEdit(this);
  Register(key, box);
  box->setAlignment(Qt::AlignRight);
  // Wide enough for what Recommend writes, with room for the frame.
  box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('9'))) + 14);
  connect(box, &QLineEdit::editingFinished, this, [this, box, key] {
    if (!refreshing_ && box->isModified()) {
      box->setModified(false);
      Apply(key, box->text().toStdString());
    }
  });
  return box;
}

void ParameterPanel::Register(const std::string& key, QWidget* field) {
  field->setObjectName(FromUtf8(key));
  keys_.push_back(key);
  fields_.push_back(field);
}

QWidget* ParameterPanel::Field(const std::string& key) const {
  for (std::size_t i = 0; i < keys_.size(); ++i)
    if (keys_[i] == key) return fields_[i];
  return nullptr;
}

void ParameterPanel::Refresh() {
  refreshing_ = true;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    std::string value;
    if (!builder_.GetParameter(keys_[i], value).Ok()) continue;
    QWidget* field = fields_[i];
    if (auto* box = qobject_cast<QLineEdit*>(field)) {
      if (box->text() != FromUtf8(value)) box->setText(FromUtf8(value));
      box->setModified(false);
    } else if (auto* check = qobject_cast<QCheckBox*>(field)) {
      check->setChecked(value != "0");
    } else if (auto* choice = qobject_cast<QComboBox*>(field)) {
      choice->setCurrentIndex(std::atoi(value.c_str()));
    }
  }
  refreshing_ = false;
}

bool ParameterPanel::Enter(const std::string& key, const QString& value) {
  QWidget* field = Field(key);
  if (auto* box = qobject_cast<QLineEdit*>(field)) {
    box->setText(value);
    box->setModified(true);
    emit box->editingFinished();
    return true;
  }
  if (auto* check = qobject_cast<QCheckBox*>(field)) {
    if (check->isChecked() != (value != QStringLiteral("0"))) check->click();
    return true;
  }
  if (auto* choice = qobject_cast<QComboBox*>(field)) {
    choice->setCurrentIndex(value.toInt());
    emit choice->activated(value.toInt());
    return true;
  }
  return false;
}

void ParameterPanel::Apply(const std::string& key, const std::string& value) {
  const Outcome outcome = builder_.SetParameter(key, value);
  note_->setText(outcome.Ok() && outcome.status == Status::kOk ? QString() : FromUtf8(key + ": " + outcome.message));
  // The builder may have corrected this field or changed others tied to it.
  Refresh();
  if (outcome.Ok()) Changed();
}

void ParameterPanel::Changed() {
  if (onChanged_) onChanged_();
}

QString ParameterPanel::PresetPath(const QString& name) const {
  return QDir(presetsFolder_).filePath(name + QString::fromLatin1(kPresetExtension));
}

void ParameterPanel::FillPresets() {
  presets_->clear();
  presets_->addItem(QStringLiteral("Presets..."));
  presets_->addItems(Presets());
  presets_->setEnabled(!presetsFolder_.isEmpty());
}

QStringList ParameterPanel::Presets() const {
  if (presetsFolder_.isEmpty()) return {};
  QStringList names;
  const QString suffix = QString::fromLatin1(kPresetExtension);
  for (const QString& file : QDir(presetsFolder_).entryList({QStringLiteral("*") + suffix}, QDir::Files, QDir::Name))
    names.push_back(file.left(file.size() - suffix.size()));
  return names;
}

bool ParameterPanel::SavePreset(const QString& name) {
  if (presetsFolder_.isEmpty()) return false;
  if (!IsPresetName(name)) {
    note_->setText(QStringLiteral("A preset's name is 1 to 64 letters, digits, blanks, - or _."));
    return false;
  }
  QDir().mkpath(presetsFolder_);
  const Outcome saved = builder_.SaveSettings(QFile::encodeName(PresetPath(name)).toStdString());
  note_->setText(saved.Ok() ? QStringLiteral("Preset \"%1\" saved").arg(name) : FromUtf8(saved.message));
  FillPresets();
  return saved.Ok();
}

bool ParameterPanel::LoadPreset(const QString& name) {
  if (presetsFolder_.isEmpty() || !IsPresetName(name)) return false;
  // A preset is a whole parameter set: the fields it does not name are the defaults.
  builder_.ResetParameters();
  const Outcome loaded = builder_.LoadSettings(QFile::encodeName(PresetPath(name)).toStdString());
  note_->setText(loaded.Ok() ? QStringLiteral("Preset \"%1\"").arg(name) : FromUtf8(loaded.message));
  presets_->setCurrentIndex(0);
  Refresh();
  if (loaded.Ok()) Changed();
  return loaded.Ok();
}

void ParameterPanel::Defaults() {
  builder_.ResetParameters();
  note_->setText(QStringLiteral("Every parameter is back to its default"));
  Refresh();
  Changed();
}

}  // namespace lorvex::gui
