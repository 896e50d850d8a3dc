<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="ru_RU">
<context>
    <name>Kelvara</name>
    <message>
        <source>Kelvara · Звуковая волна</source>
        <translation>Kelvara · Wellenform</translation>
    </message>
    <message>
        <source>Ошибка связи с Music: {0}</source>
        <translation>Keine Verbindung zum Player: {0}</translation>
    </message>
    <message>
        <source>Служебный процесс завершился</source>
        <translation>Der Hilfsprozess wurde beendet</translation>
    </message>
    <message>
        <source>Служебный процесс не отвечает</source>
        <translation>Der Hilfsprozess antwortet nicht</translation>
    </message>
    <message>
        <source>Ошибка Apple Events</source>
        <translation>Fehler bei der Player-Steuerung</translation>
    </message>
    <message>
        <source>Некорректная команда Music</source>
        <translation>Ungültiger Player-Befehl</translation>
    </message>
    <message>
        <source>Разрешите Kelvara управлять Music: Системные настройки → Конфиденциальность и безопасность → Автоматизация. Затем нажмите «Повторить».</source>
        <translation>Der Player lässt sich von Kelvara nicht steuern: D-Bus hat den Zugriff verweigert. Läuft der Player oder Kelvara in einer Sandbox (Flatpak, Snap), erlaube den Zugriff auf MPRIS und klicke dann auf „Wiederholen“.</translation>
    </message>
    <message>
        <source>Music закрыта</source>
        <translation>Der Player ist geschlossen</translation>
    </message>
    <message>
        <source>Нет текущего трека</source>
        <translation>Kein aktueller Track</translation>
    </message>
    <message>
        <source>Трек уже сменился</source>
        <translation>Der Track hat bereits gewechselt</translation>
    </message>
    <message>
        <source>Трек сменился во время чтения. Повторяем.</source>
        <translation>Der Track hat beim Auslesen gewechselt. Neuer Versuch …</translation>
    </message>
    <message>
        <source>Ожидание Music</source>
        <translation>Warte auf den Player</translation>
    </message>
    <message>
        <source>Подготовка инструментала</source>
        <translation>Instrumental-Vorbereitung</translation>
    </message>
    <message>
        <source>Не удалось прочитать сохранённые сетки: </source>
        <translation>Die gespeicherten Beatgrids konnten nicht gelesen werden: </translation>
    </message>
    <message>
        <source>Не удалось прочитать метки. Исходный файл сохранён: {0}</source>
        <translation>Die Cues konnten nicht gelesen werden. Die Originaldatei bleibt unverändert: {0}</translation>
    </message>
    <message>
        <source>Выберите трек в Music</source>
        <translation>Wähle im Player einen Track aus</translation>
    </message>
    <message>
        <source>Music закрыта — откройте приложение «Музыка»</source>
        <translation>Der Player ist geschlossen – starte einen Musikplayer mit MPRIS-Unterstützung</translation>
    </message>
    <message>
        <source>Защита перемотки</source>
        <translation>Sprungsperre</translation>
    </message>
    <message>
        <source>Перемотка выключена · снимите замок</source>
        <translation>Springen gesperrt · erst entsperren</translation>
    </message>
    <message>
        <source>Music не сообщает путь к файлу. Для потокового или DRM-трека waveform недоступен. Если это ваш локальный файл, выберите его вручную.</source>
        <translation>Der Player liefert keinen Dateipfad. Für Streaming- oder DRM-Tracks gibt es keine Wellenform. Ist es deine lokale Datei, wähle sie manuell aus.</translation>
    </message>
    <message>
        <source>Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную.</source>
        <translation>Auf die Datei kann nicht zugegriffen werden. Prüfe, ob das Laufwerk verbunden ist und die Berechtigungen stimmen, oder wähle die Datei manuell aus.</translation>
    </message>
    <message>
        <source>Не удалось декодировать аудио. Возможно, файл защищён DRM или имеет неподдерживаемый формат.</source>
        <translation>Das Audio konnte nicht dekodiert werden. Die Datei ist eventuell DRM-geschützt oder hat ein nicht unterstütztes Format.</translation>
    </message>
    <message>
        <source>Аудиофайл прочитан не полностью; результат не сохранён.</source>
        <translation>Die Audiodatei wurde nicht vollständig gelesen; das Ergebnis wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>Не удалось создать фильтры частотного анализа</source>
        <translation>Die Filter für die Frequenzanalyse konnten nicht erstellt werden</translation>
    </message>
    <message>
        <source>Некорректные данные waveform</source>
        <translation>Ungültige Wellenformdaten</translation>
    </message>
    <message>
        <source>Устойчивый ритм не найден. Можно ввести BPM вручную.</source>
        <translation>Kein gleichmäßiger Beat erkannt. Du kannst die BPM manuell eingeben.</translation>
    </message>
    <message>
        <source>Ритм определён неуверенно — проверьте сетку на слух.</source>
        <translation>Beat-Erkennung unsicher – prüfe das Beatgrid nach Gehör.</translation>
    </message>
    <message>
        <source>Выбрать локальный файл…</source>
        <translation>Lokale Datei auswählen …</translation>
    </message>
    <message>
        <source>Использовать путь из Music</source>
        <translation>Dateipfad des Players verwenden</translation>
    </message>
    <message>
        <source>Анализ аудио…</source>
        <translation>Audio wird analysiert …</translation>
    </message>
    <message>
        <source>Файл изменился во время анализа. Нажмите «Повторить».</source>
        <translation>Die Datei hat sich während der Analyse geändert. Klicke auf „Wiederholen“.</translation>
    </message>
    <message>
        <source>Загружено из кэша</source>
        <translation>Aus dem Cache geladen</translation>
    </message>
    <message>
        <source>Анализ готов · кэш сохранён</source>
        <translation>Analyse fertig · im Cache gespeichert</translation>
    </message>
    <message>
        <source>Волна готова, но кэш не записан: {0}</source>
        <translation>Wellenform fertig, aber der Cache wurde nicht geschrieben: {0}</translation>
    </message>
    <message>
        <source>Волна недоступна: {0}</source>
        <translation>Wellenform nicht verfügbar: {0}</translation>
    </message>
    <message>
        <source>Выберите исходный файл текущего трека</source>
        <translation>Quelldatei des aktuellen Tracks auswählen</translation>
    </message>
    <message>
        <source>Выбирайте именно эту композицию: её длительность определяет соответствие waveform позиции Music.</source>
        <translation>Wähle genau diesen Track: Seine Länge bestimmt, wie die Wellenform zur Position im Player passt.</translation>
    </message>
    <message>
        <source>Повторить подключение / анализ</source>
        <translation>Verbindung / Analyse wiederholen</translation>
    </message>
    <message>
        <source>Анализ {0}%</source>
        <translation>Analyse {0} %</translation>
    </message>
    <message>
        <source>Файл меток имеет неподдерживаемый формат</source>
        <translation>Die Cue-Datei hat ein nicht unterstütztes Format</translation>
    </message>
    <message>
        <source>Метка {0}</source>
        <translation>Cue {0}</translation>
    </message>
    <message>
        <source>Метки пока не сохранены на диск: {0}</source>
        <translation>Cues noch nicht auf der Festplatte gespeichert: {0}</translation>
    </message>
    <message>
        <source>Метки трека</source>
        <translation>Cues des Tracks</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>⌥ + клик по волне добавляет метку в выбранном месте; ⌘D — в текущей позиции. Назовите метку: «вокал», «припев», «выход».</source>
        <translation>Umschalt + Klick auf die Wellenform setzt dort einen Cue, Strg+D an der aktuellen Position. Benenne deine Cues, z. B. „Vocal“, „Refrain“, „Outro“.</translation>
    </message>
    <message>
        <source>🔒 Перемотка выключена. Снимите замок для перехода.</source>
        <translation>🔒 Springen gesperrt. Zum Springen entsperren.</translation>
    </message>
    <message>
        <source>Нажмите на время для перехода к метке.</source>
        <translation>Klicke auf die Zeit eines Cues, um dorthin zu springen.</translation>
    </message>
    <message>
        <source>Мятный</source>
        <translation>Mint</translation>
    </message>
    <message>
        <source>Оранжевый</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Синий</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>Розовый</source>
        <translation>Pink</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Удалить метку</source>
        <translation>Cue löschen</translation>
    </message>
    <message>
        <source>Повреждён файл сеток</source>
        <translation>Die Beatgrid-Datei ist beschädigt</translation>
    </message>
    <message>
        <source>Некорректная сетка</source>
        <translation>Ungültiges Beatgrid</translation>
    </message>
    <message>
        <source>BPM должен быть от 30 до 300</source>
        <translation>BPM muss zwischen 30 und 300 liegen</translation>
    </message>
    <message>
        <source>Сетка пока не сохранена: </source>
        <translation>Beatgrid noch nicht gespeichert: </translation>
    </message>
    <message>
        <source>BPM и сетка</source>
        <translation>BPM &amp; Beatgrid</translation>
    </message>
    <message>
        <source>4 такта · 16 долей</source>
        <translation>4 Takte · 16 Beats</translation>
    </message>
    <message>
        <source>Показывать сетку</source>
        <translation>Beatgrid anzeigen</translation>
    </message>
    <message>
        <source>Клик — к ближайшему квадрату</source>
        <translation>Klick springt zur nächsten Phrase</translation>
    </message>
    <message>
        <source>Применить</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>−0,01 с</source>
        <translation>−0,01 s</translation>
    </message>
    <message>
        <source>+0,01 с</source>
        <translation>+0,01 s</translation>
    </message>
    <message>
        <source>Квадрат здесь</source>
        <translation>Phrase beginnt hier</translation>
    </message>
    <message>
        <source>Текущая позиция станет началом музыкального квадрата</source>
        <translation>Die aktuelle Position wird zum Anfang einer Phrase</translation>
    </message>
    <message>
        <source>BPM рассчитывается вместе с волной…</source>
        <translation>BPM wird zusammen mit der Wellenform ermittelt …</translation>
    </message>
    <message>
        <source>Начало: </source>
        <translation>Anfang: </translation>
    </message>
    <message>
        <source>%.2f с</source>
        <translation>%.2f s</translation>
    </message>
    <message>
        <source> · вручную</source>
        <translation> · manuell</translation>
    </message>
    <message>
        <source> · авто, ориентировочно</source>
        <translation> · automatisch, ungefähr</translation>
    </message>
    <message>
        <source>Вернуть автоматическую сетку</source>
        <translation>Automatisches Beatgrid wiederherstellen</translation>
    </message>
    <message>
        <source>Авто определяет темп и доли. Начало музыкальной фразы при необходимости отметьте вручную. ⌘ + два клика — начало и конец повторяемого участка.</source>
        <translation>Die Automatik erkennt Tempo und Beats. Den Anfang einer Phrase markierst du bei Bedarf selbst. Strg + zwei Klicks setzen Anfang und Ende eines Loops.</translation>
    </message>
    <message>
        <source>Введите BPM от 30 до 300</source>
        <translation>Gib einen BPM-Wert zwischen 30 und 300 ein</translation>
    </message>
    <message>
        <source>Начало квадрата здесь</source>
        <translation>Phrase hier beginnen</translation>
    </message>
    <message>
        <source>Отменить начало участка</source>
        <translation>Loop-Anfang verwerfen</translation>
    </message>
    <message>
        <source>Выключить повтор участка</source>
        <translation>Loop ausschalten</translation>
    </message>
    <message>
        <source>Повтор участка включён · нажмите, чтобы отключить</source>
        <translation>Loop aktiv · zum Ausschalten klicken</translation>
    </message>
    <message>
        <source>Для повтора участка задайте BPM</source>
        <translation>Für einen Loop zuerst BPM festlegen</translation>
    </message>
    <message>
        <source>В треке недостаточно места для целого квадрата</source>
        <translation>Für eine ganze Phrase ist im Track nicht genug Platz</translation>
    </message>
    <message>
        <source>Вход □ · ⌘ + клик для выхода по квадрату</source>
        <translation>Loop-In □ · Strg + Klick setzt das Loop-Out an eine Phrasengrenze</translation>
    </message>
    <message>
        <source>Конец участка должен быть правее начала (от 0,5 с)</source>
        <translation>Das Loop-Ende muss rechts vom Anfang liegen (mindestens 0,5 s)</translation>
    </message>
    <message>
        <source>Некорректный путь инструментала</source>
        <translation>Ungültiger Pfad zum Instrumental</translation>
    </message>
    <message>
        <source>Исходный трек изменился во время обработки</source>
        <translation>Der Originaltrack hat sich während der Verarbeitung geändert</translation>
    </message>
    <message>
        <source>Процесс обработки завершился с кодом {0}</source>
        <translation>Die Verarbeitung wurde mit Code {0} beendet</translation>
    </message>
    <message>
        <source>Длительность инструментала не совпала с оригиналом</source>
        <translation>Die Länge des Instrumentals passt nicht zum Original</translation>
    </message>
    <message>
        <source>Модуль удаления вокала не установлен. Запустите «Установить модуль вокала.command» из комплекта Kelvara, затем повторите обработку.</source>
        <translation>Das Modul zum Entfernen von Vocals ist nicht installiert. Wähle im Menü „Vocal-Modul installieren …“ und starte die Verarbeitung dann erneut.</translation>
    </message>
    <message>
        <source>Инструментальный режим · нажмите, чтобы вернуть вокал</source>
        <translation>Instrumental-Modus · klicken, um die Vocals zurückzuholen</translation>
    </message>
    <message>
        <source>Убрать вокал с текущей позиции</source>
        <translation>Vocals ab der aktuellen Position entfernen</translation>
    </message>
    <message>
        <source>Подготовить инструментал</source>
        <translation>Instrumental vorbereiten</translation>
    </message>
    <message>
        <source>Убрать вокал</source>
        <translation>Vocals entfernen</translation>
    </message>
    <message>
        <source>Вернуть вокал</source>
        <translation>Vocals zurückholen</translation>
    </message>
    <message>
        <source>Готовить инструментал автоматически</source>
        <translation>Instrumentals automatisch vorbereiten</translation>
    </message>
    <message>
        <source>Нужен доступный локальный файл трека</source>
        <translation>Der Track braucht eine zugängliche lokale Datei</translation>
    </message>
    <message>
        <source>Готовлю инструментал…</source>
        <translation>Instrumental wird vorbereitet …</translation>
    </message>
    <message>
        <source>Инструментал готов</source>
        <translation>Instrumental bereit</translation>
    </message>
    <message>
        <source>Не удалось подготовить инструментал: </source>
        <translation>Instrumental konnte nicht vorbereitet werden: </translation>
    </message>
    <message>
        <source>Не удалось открыть инструментал</source>
        <translation>Instrumental konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Не удалось запустить инструментал</source>
        <translation>Instrumental konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>Инструментал оборвался: файл повреждён</source>
        <translation>Das Instrumental brach ab: die Datei ist beschädigt</translation>
    </message>
    <message>
        <source>Закрепление выключено · нажмите для закрепления на экране</source>
        <translation>Nicht angeheftet · klicken zum Anheften</translation>
    </message>
    <message>
        <source>Закреплено на текущем рабочем столе · нажмите для связи с Music</source>
        <translation>Auf diesem Arbeitsbereich angeheftet · klicken zum Koppeln mit dem Player-Fenster</translation>
    </message>
    <message>
        <source>Связано с Music · нажмите для отключения</source>
        <translation>Mit dem Player-Fenster gekoppelt · klicken zum Lösen</translation>
    </message>
    <message>
        <source>Для связи окон разрешите Kelvara в Системные настройки → Конфиденциальность и безопасность → Универсальный доступ, затем нажмите булавку снова.</source>
        <translation>Das Koppeln von Fenstern braucht eine X11-Sitzung: Unter Wayland kann Kelvara keine fremden Fenster verschieben. Melde dich in einer X11-Sitzung an und klicke erneut auf die Stecknadel.</translation>
    </message>
    <message>
        <source>Откройте окно Music и нажмите булавку снова.</source>
        <translation>Starte den Player, öffne sein Fenster und klicke erneut auf die Stecknadel.</translation>
    </message>
    <message>
        <source>Music закрыта — связь окон отключена.</source>
        <translation>Der Player wurde geschlossen – Fensterkopplung aufgehoben.</translation>
    </message>
    <message>
        <source>Нет разрешения Универсального доступа для связи с Music.</source>
        <translation>Kein Zugriff auf Fenster über X11 – die Kopplung mit dem Player-Fenster ist unterbrochen.</translation>
    </message>
    <message>
        <source>Music не разрешает перемещать это окно. Выйдите из полноэкранного режима.</source>
        <translation>Das Player-Fenster lässt sich nicht verschieben. Beende den Vollbildmodus.</translation>
    </message>
    <message>
        <source>Не найдено доступное окно Music. Откройте обычное окно Music и включите связь снова.</source>
        <translation>Kein passendes Player-Fenster gefunden. Öffne ein normales Fenster des Players und kopple erneut.</translation>
    </message>
    <message>
        <source>Нет квадрата / BPM</source>
        <translation>Keine Phrase / BPM</translation>
    </message>
    <message>
        <source>Вход □ </source>
        <translation>Loop-In □ </translation>
    </message>
    <message>
        <source>Выход □ </source>
        <translation>Loop-Out □ </translation>
    </message>
    <message>
        <source>Метка · </source>
        <translation>Cue · </translation>
    </message>
    <message>
        <source>⌥ + клик — метка · ⌘ + два клика — повтор участка · щипок или ⇧ +/− — масштаб · прокрутка двумя пальцами — обзор</source>
        <translation>Umschalt + Klick: Cue · Strg + zwei Klicks: Loop · Zwei-Finger-Zoom oder Umschalt +/−: Zoom · Mausrad oder zwei Finger: durch den Track scrollen</translation>
    </message>
    <message>
        <source>Позиция трека</source>
        <translation>Position im Track</translation>
    </message>
    <message>
        <source>{0} из {1}</source>
        <translation>{0} von {1}</translation>
    </message>
    <message>
        <source>НЧ</source>
        <translation>Tief</translation>
    </message>
    <message>
        <source>СЧ</source>
        <translation>Mitte</translation>
    </message>
    <message>
        <source>ВЧ</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>НЧ &lt;250 Гц · СЧ 250–2500 Гц · ВЧ &gt;2500 Гц. Высота — энергия RMS, контур визуально сглажен.</source>
        <translation>Tief &lt;250 Hz · Mitte 250–2500 Hz · Hoch &gt;2500 Hz. Die Höhe zeigt die RMS-Energie, die Kontur ist optisch geglättet.</translation>
    </message>
    <message>
        <source>Осталось до конца трека · длительность </source>
        <translation>Restzeit · Tracklänge </translation>
    </message>
    <message>
        <source>Прокрутка видимого участка волны</source>
        <translation>Sichtbaren Ausschnitt der Wellenform verschieben</translation>
    </message>
    <message>
        <source>Положение обзора волны</source>
        <translation>Position des Wellenform-Ausschnitts</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Воспроизведение / Пауза</source>
        <translation>Wiedergabe / Pause</translation>
    </message>
    <message>
        <source>Звуковая волна</source>
        <translation>Wellenform</translation>
    </message>
    <message>
        <source>Установить вокальный модуль…</source>
        <translation>Vocal-Modul installieren …</translation>
    </message>
    <message>
        <source>Повторить подготовку</source>
        <translation>Erneut vorbereiten</translation>
    </message>
    <message>
        <source>BPM и сетка · квадрат 16 долей · нажмите для настройки</source>
        <translation>BPM &amp; Beatgrid · Phrase = 16 Beats · zum Einstellen klicken</translation>
    </message>
    <message>
        <source>Показать весь трек · ⇧0</source>
        <translation>Ganzen Track zeigen · Umschalt+0</translation>
    </message>
    <message>
        <source>Перемотка и повтор участка выключены · ⌘L</source>
        <translation>Springen und Loops gesperrt · Strg+L</translation>
    </message>
    <message>
        <source>Защита выключена · ⌘L</source>
        <translation>Sprungsperre aus · Strg+L</translation>
    </message>
    <message>
        <source>Метки трека · ⌥ + клик на волне или ⌘D в текущей позиции</source>
        <translation>Cues des Tracks · Umschalt + Klick auf die Wellenform oder Strg+D an der aktuellen Position</translation>
    </message>
    <message>
        <source>Отключить закрепление</source>
        <translation>Nicht mehr anheften</translation>
    </message>
    <message>
        <source>Компактный вид</source>
        <translation>Kompakte Ansicht</translation>
    </message>
    <message>
        <source>Показать Music</source>
        <translation>Player anzeigen</translation>
    </message>
    <message>
        <source>Увеличить волну</source>
        <translation>Hineinzoomen</translation>
    </message>
    <message>
        <source>Уменьшить волну</source>
        <translation>Herauszoomen</translation>
    </message>
    <message>
        <source>Показать весь трек</source>
        <translation>Ganzen Track zeigen</translation>
    </message>
    <message>
        <source>Добавить метку</source>
        <translation>Cue hinzufügen</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>Язык / Language</source>
        <translation>Sprache / Language</translation>
    </message>
    <message>
        <source>После перезапуска</source>
        <translation>Gilt nach dem Neustart</translation>
    </message>
    <message>
        <source>Перезапустить сейчас</source>
        <translation>Jetzt neu starten</translation>
    </message>
    <message>
        <source>Перезапустить Kelvara?</source>
        <translation>Kelvara neu starten?</translation>
    </message>
    <message>
        <source>Выбран язык: {0}. Изменение вступит в силу после перезапуска. Если сейчас играет инструментал, перед перезапуском приложение вернёт воспроизведение в Music.</source>
        <translation>Gewählte Sprache: {0}. Die Änderung wird nach einem Neustart wirksam. Läuft gerade ein Instrumental, gibt Kelvara die Wiedergabe vor dem Neustart an den Player zurück.</translation>
    </message>
    <message>
        <source>Позже</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Не удалось перезапустить приложение. Закройте и откройте Kelvara вручную.</source>
        <translation>Die App konnte nicht neu gestartet werden. Beende Kelvara und öffne es erneut.</translation>
    </message>
    <message>
        <source>Нужно минимум 6 ГБ свободного места.</source>
        <translation>Mindestens 6 GB freier Speicherplatz erforderlich.</translation>
    </message>
    <message>
        <source>Установка уже идёт в другом окне установщика.</source>
        <translation>In einem anderen Installationsfenster läuft bereits eine Installation.</translation>
    </message>
    <message>
        <source>Загрузка Python…</source>
        <translation>Python wird heruntergeladen …</translation>
    </message>
    <message>
        <source>Проверка целостности Python не пройдена. Повторите загрузку.</source>
        <translation>Die Integritätsprüfung von Python ist fehlgeschlagen. Lade es erneut herunter.</translation>
    </message>
    <message>
        <source>Распаковка Python…</source>
        <translation>Python wird entpackt …</translation>
    </message>
    <message>
        <source>Не удалось загрузить Python. Проверьте интернет и повторите.</source>
        <translation>Python konnte nicht heruntergeladen werden. Prüfe die Internetverbindung und versuche es erneut.</translation>
    </message>
    <message>
        <source>Установка остановилась. Проверьте интернет и свободное место, затем повторите. Подробности — в журнале.</source>
        <translation>Die Installation wurde unterbrochen. Prüfe Internetverbindung und freien Speicherplatz und versuche es erneut. Details stehen im Protokoll.</translation>
    </message>
    <message>
        <source>Журнал</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Установить</source>
        <translation>Installieren</translation>
    </message>
    <message>
        <source>Вокальный модуль</source>
        <translation>Vocal-Modul</translation>
    </message>
    <message>
        <source>Нажмите «Установить». Всё остальное установщик сделает сам.</source>
        <translation>Klicke auf „Installieren“. Den Rest erledigt das Installationsprogramm.</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Всё готово</source>
        <translation>Alles erledigt</translation>
    </message>
    <message>
        <source>Вернитесь в Kelvara и нажмите кнопку удаления вокала.</source>
        <translation>Wechsle zurück zu Kelvara und klicke auf die Schaltfläche zum Entfernen der Vocals.</translation>
    </message>
    <message>
        <source>Установка отменена</source>
        <translation>Installation abgebrochen</translation>
    </message>
    <message>
        <source>Не удалось завершить установку</source>
        <translation>Die Installation konnte nicht abgeschlossen werden</translation>
    </message>
    <message>
        <source>Прежний рабочий модуль сохранён. Можно повторить установку.</source>
        <translation>Das bisherige, funktionierende Modul bleibt erhalten. Du kannst die Installation wiederholen.</translation>
    </message>
    <message>
        <source>Скачиваем и устанавливаем компоненты. Это может занять несколько минут.</source>
        <translation>Komponenten werden heruntergeladen und installiert. Das kann einige Minuten dauern.</translation>
    </message>
    <message>
        <source>Оставьте окно открытым — установка продолжается.</source>
        <translation>Lass das Fenster geöffnet – die Installation läuft noch.</translation>
    </message>
    <message>
        <source>Остановка…</source>
        <translation>Wird angehalten …</translation>
    </message>
    <message>
        <source>Установка вокального модуля</source>
        <translation>Installation des Vocal-Moduls</translation>
    </message>
    <message>
        <source>Нужны интернет и 6 ГБ свободного места. Python установится автоматически только для Kelvara.</source>
        <translation>Benötigt Internet und 6 GB freien Speicherplatz. Python wird automatisch installiert – nur für Kelvara.</translation>
    </message>
    <message>
        <source>Готово</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Music не отвечает</source>
        <translation>Der Player reagiert nicht</translation>
    </message>
    <message>
        <source>Строка запроса слишком длинная</source>
        <translation>Die Anfragezeile ist zu lang</translation>
    </message>
    <message>
        <source>Некорректный JSON: {0}</source>
        <translation>Ungültiges JSON: {0}</translation>
    </message>
    <message>
        <source>Поле «{0}» отсутствует или имеет неверный тип</source>
        <translation>Feld „{0}“ fehlt oder hat den falschen Typ</translation>
    </message>
    <message>
        <source>Поле «{0}» не является конечным числом</source>
        <translation>Feld „{0}“ ist keine endliche Zahl</translation>
    </message>
    <message>
        <source>Использование: kelvara-analyze [--json] [--no-cache] [--jobs N] ФАЙЛ…
Анализирует аудиофайлы через тот же кэш, что и Kelvara, и выводит по строке на файл: путь, длительность, число точек, BPM, начало и уверенность сетки, время анализа и взят ли результат из кэша.

  --json      выводить по объекту JSON на строку
  --no-cache  анализировать заново, не читая и не записывая кэш
  --jobs N    анализировать до N файлов одновременно (по умолчанию по числу ядер)
  --help      показать эту справку
  --version   показать версию

Код выхода не равен нулю, если хотя бы один файл не удалось проанализировать; кэш, который не удалось записать, — только предупреждение.</source>
        <translation>Aufruf: kelvara-analyze [--json] [--no-cache] [--jobs N] DATEI…
Analysiert Audiodateien über denselben Cache wie Kelvara und gibt je Datei eine Zeile aus: Pfad, Länge, Anzahl der Punkte, BPM, Anfang und Sicherheit des Beatgrids, Analysezeit und ob das Ergebnis aus dem Cache stammt.

  --json      ein JSON-Objekt pro Zeile ausgeben
  --no-cache  neu analysieren, ohne den Cache zu lesen oder zu schreiben
  --jobs N    bis zu N Dateien gleichzeitig analysieren (Standard: eine je Kern)
  --help      diese Hilfe anzeigen
  --version   die Version anzeigen

Der Exit-Code ist ungleich null, wenn mindestens eine Datei nicht analysiert werden konnte; ein Cache, der nicht geschrieben werden konnte, ist nur eine Warnung.</translation>
    </message>
    <message>
        <source>из кэша</source>
        <translation>aus dem Cache</translation>
    </message>
    <message>
        <source>проанализирован</source>
        <translation>analysiert</translation>
    </message>
    <message>
        <source>{0} — {1} с, точек: {2}, ритм не найден; {3} с, {4}</source>
        <translation>{0} — {1} s, Punkte: {2}, kein Beat erkannt; {3} s, {4}</translation>
    </message>
    <message>
        <source>{0} — {1} с, точек: {2}, BPM {3}, сетка от {4} с, уверенность {5}; {6} с, {7}</source>
        <translation>{0} — {1} s, Punkte: {2}, BPM {3}, Beatgrid ab {4} s, Sicherheit {5}; {6} s, {7}</translation>
    </message>
    <message>
        <source>Не указаны файлы для анализа.</source>
        <translation>Keine Dateien zum Analysieren angegeben.</translation>
    </message>
    <message>
        <source>Неизвестный параметр: {0}</source>
        <translation>Unbekannte Option: {0}</translation>
    </message>
    <message>
        <source>Плеер</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>Автоматически</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Диапазон темпа</source>
        <translation>Tempobereich</translation>
    </message>
    <message>
        <source>Авто</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Не удалось прочитать аудио: файл повреждён или его формат не поддерживается.</source>
        <translation>Audio kann nicht gelesen werden: Die Datei ist beschädigt oder ihr Format wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>Не удалось загрузить библиотеку декодирования {0}; переустановите программу.</source>
        <translation>Die Dekodierbibliothek {0} konnte nicht geladen werden; installieren Sie das Programm neu.</translation>
    </message>
    <message>
        <source>Заголовок файла неправдоподобен ({0} Гц, каналов: {1}); файл, вероятно, повреждён.</source>
        <translation>Der Dateikopf ist unplausibel ({0} Hz, {1} Kanäle); die Datei ist vermutlich beschädigt.</translation>
    </message>
    <message>
        <source>Параметр {0} ждёт число от 1 до {1}.</source>
        <translation>Die Option {0} erwartet eine Zahl von 1 bis {1}.</translation>
    </message>
    <message>
        <source>Предупреждение: кэш не записан: {0}</source>
        <translation>Warnung: Cache nicht geschrieben: {0}</translation>
    </message>
    <message>
        <source>файлов готово: {0} из {1}</source>
        <translation>Dateien fertig: {0} von {1}</translation>
    </message>
    <message>
        <source>Использование: kelvara [--help] [--version]
Показывает подробную звуковую волну трека, который играет MPRIS-плеер (mpv, Rhythmbox, Strawberry, Elisa, VLC …), с сеткой долей, метками и повторами.

  --help     показать эту справку
  --version  показать версию

С переменной окружения QT_LOGGING_RULES="kelvara.*=true" программа пишет подробности ошибок в стандартный поток ошибок.</source>
        <translation>Aufruf: kelvara [--help] [--version]
Zeigt die detaillierte Wellenform des Titels, den ein MPRIS-Player (mpv, Rhythmbox, Strawberry, Elisa, VLC …) spielt, mit Beat-Raster, Markern und Loops.

  --help     diese Hilfe anzeigen
  --version  die Version anzeigen

Mit QT_LOGGING_RULES="kelvara.*=true" in der Umgebung schreibt das Programm die Einzelheiten von Fehlern in die Standardfehlerausgabe.</translation>
    </message>
    <message>
        <source>Метка не найдена: {0}</source>
        <translation>Kein Cue mit der Kennung {0}</translation>
    </message>
    <message>
        <source>Читаю трек…</source>
        <translation>Lese den Track…</translation>
    </message>
    <message>
        <source>Отделяю вокал… {0} %</source>
        <translation>Entferne den Gesang… {0} %</translation>
    </message>
    <message>
        <source>Не найден декодер Kelvara</source>
        <translation>Kelvaras Decoder wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Не удалось декодировать аудио.</source>
        <translation>Das Audio konnte nicht dekodiert werden.</translation>
    </message>
    <message>
        <source>Трек записан в моно: вокал в нём нельзя отделить</source>
        <translation>Der Track ist mono: sein Gesang lässt sich nicht abtrennen</translation>
    </message>
    <message>
        <source>Ошибка обработки: {0}</source>
        <translation>Verarbeitungsfehler: {0}</translation>
    </message>
    <message>
        <source>{0} — инструментал: {1}</source>
        <translation>{0} — Instrumental: {1}</translation>
    </message>
    <message>
        <source>После --decode нужен ровно один файл.</source>
        <translation>--decode erwartet genau eine Datei.</translation>
    </message>
    <message>
        <source>  --instrumental  подготовить для файлов инструменталы (без вокала) в кэше, которым пользуется окно
  --decode ФАЙЛ   вывести звук файла так, как его видит Kelvara (для обработчика вокала)</source>
        <translation>  --instrumental  Instrumentals (ohne Gesang) der Dateien im Cache des Fensters vorbereiten
  --decode DATEI  den Ton der Datei so ausgeben, wie Kelvara ihn sieht (für die Gesangsverarbeitung)</translation>
    </message>
    <message>
        <source>Использование: morvik [--install] [--help] [--version]
Устанавливает вокальный модуль для Kelvara: отдельный Python только для Kelvara и компоненты удаления вокала. Нужны интернет и 6 ГБ свободного места.

  --install  начать установку сразу, как откроется окно
  --help     показать эту справку
  --version  показать версию</source>
        <translation>Aufruf: morvik [--install] [--help] [--version]
Installiert das Vocal-Modul für Kelvara: ein eigenes Python nur für Kelvara und die Komponenten zum Entfernen der Vocals. Benötigt eine Internetverbindung und 6 GB freien Speicher.

  --install  die Installation gleich beim Öffnen des Fensters starten
  --help     diese Hilfe anzeigen
  --version  die Version anzeigen</translation>
    </message>
    <message>
        <source>Некорректное описание загрузки Python</source>
        <translation>Ungültige Beschreibung des Python-Downloads</translation>
    </message>
    <message>
        <source>Подготовка Python…</source>
        <translation>Python wird vorbereitet…</translation>
    </message>
    <message>
        <source>Загрузка компонентов…</source>
        <translation>Komponenten werden heruntergeladen…</translation>
    </message>
    <message>
        <source>Проверка модуля…</source>
        <translation>Modul wird geprüft…</translation>
    </message>
    <message>
        <source>Не удалось установить компоненты.</source>
        <translation>Die Komponenten konnten nicht installiert werden.</translation>
    </message>
    <message>
        <source>Проверка модуля не пройдена.</source>
        <translation>Das Modul hat die Prüfung nicht bestanden.</translation>
    </message>
</context>
</TS>
