<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="ru_RU">
<context>
    <name>Kelvara</name>
    <message>
        <source>Kelvara · Звуковая волна</source>
        <translation>Kelvara · Waveform</translation>
    </message>
    <message>
        <source>Ошибка связи с Music: {0}</source>
        <translation>Can't reach the player: {0}</translation>
    </message>
    <message>
        <source>Служебный процесс завершился</source>
        <translation>The helper process has stopped</translation>
    </message>
    <message>
        <source>Служебный процесс не отвечает</source>
        <translation>The helper process does not respond</translation>
    </message>
    <message>
        <source>Ошибка Apple Events</source>
        <translation>Player control error</translation>
    </message>
    <message>
        <source>Некорректная команда Music</source>
        <translation>Invalid player command</translation>
    </message>
    <message>
        <source>Разрешите Kelvara управлять Music: Системные настройки → Конфиденциальность и безопасность → Автоматизация. Затем нажмите «Повторить».</source>
        <translation>The player won't let Kelvara control playback: D-Bus denied access. If the player or Kelvara runs in a sandbox (Flatpak, Snap), give it access to MPRIS, then click “Retry”.</translation>
    </message>
    <message>
        <source>Music закрыта</source>
        <translation>The player isn't running</translation>
    </message>
    <message>
        <source>Нет текущего трека</source>
        <translation>No current track</translation>
    </message>
    <message>
        <source>Трек уже сменился</source>
        <translation>The track has already changed</translation>
    </message>
    <message>
        <source>Трек сменился во время чтения. Повторяем.</source>
        <translation>The track changed while it was being read. Trying again.</translation>
    </message>
    <message>
        <source>Ожидание Music</source>
        <translation>Waiting for the player</translation>
    </message>
    <message>
        <source>Подготовка инструментала</source>
        <translation>Instrumental preparation</translation>
    </message>
    <message>
        <source>Не удалось прочитать сохранённые сетки: </source>
        <translation>Couldn't read the saved beat grids: </translation>
    </message>
    <message>
        <source>Не удалось прочитать метки. Исходный файл сохранён: {0}</source>
        <translation>Couldn't read the cues. The original file has been left untouched: {0}</translation>
    </message>
    <message>
        <source>Выберите трек в Music</source>
        <translation>Pick a track in the player</translation>
    </message>
    <message>
        <source>Music закрыта — откройте приложение «Музыка»</source>
        <translation>The player isn't running — start a music player that supports MPRIS</translation>
    </message>
    <message>
        <source>Защита перемотки</source>
        <translation>Seek lock</translation>
    </message>
    <message>
        <source>Перемотка выключена · снимите замок</source>
        <translation>Seeking is locked · unlock first</translation>
    </message>
    <message>
        <source>Music не сообщает путь к файлу. Для потокового или DRM-трека waveform недоступен. Если это ваш локальный файл, выберите его вручную.</source>
        <translation>The player doesn't report a file path. Streamed or DRM-protected tracks have no waveform. If this is a local file of yours, choose it manually.</translation>
    </message>
    <message>
        <source>Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную.</source>
        <translation>The file isn't accessible. Check that the drive is connected and the permissions are right, or choose the file manually.</translation>
    </message>
    <message>
        <source>Не удалось декодировать аудио. Возможно, файл защищён DRM или имеет неподдерживаемый формат.</source>
        <translation>Couldn't decode the audio. The file may be DRM-protected or in an unsupported format.</translation>
    </message>
    <message>
        <source>Аудиофайл прочитан не полностью; результат не сохранён.</source>
        <translation>The audio file was only partly read; the result was not saved.</translation>
    </message>
    <message>
        <source>Не удалось создать фильтры частотного анализа</source>
        <translation>Couldn't set up the frequency band filters</translation>
    </message>
    <message>
        <source>Некорректные данные waveform</source>
        <translation>Invalid waveform data</translation>
    </message>
    <message>
        <source>Устойчивый ритм не найден. Можно ввести BPM вручную.</source>
        <translation>No steady beat found. You can enter the BPM by hand.</translation>
    </message>
    <message>
        <source>Ритм определён неуверенно — проверьте сетку на слух.</source>
        <translation>Beat detection is unsure — check the beat grid by ear.</translation>
    </message>
    <message>
        <source>Выбрать локальный файл…</source>
        <translation>Choose local file…</translation>
    </message>
    <message>
        <source>Использовать путь из Music</source>
        <translation>Use the player's file path</translation>
    </message>
    <message>
        <source>Анализ аудио…</source>
        <translation>Analysing audio…</translation>
    </message>
    <message>
        <source>Файл изменился во время анализа. Нажмите «Повторить».</source>
        <translation>The file changed during analysis. Click “Retry”.</translation>
    </message>
    <message>
        <source>Загружено из кэша</source>
        <translation>Loaded from cache</translation>
    </message>
    <message>
        <source>Анализ готов · кэш сохранён</source>
        <translation>Analysis done · cached</translation>
    </message>
    <message>
        <source>Волна готова, но кэш не записан: {0}</source>
        <translation>Waveform ready, but the cache wasn't written: {0}</translation>
    </message>
    <message>
        <source>Волна недоступна: {0}</source>
        <translation>Waveform unavailable: {0}</translation>
    </message>
    <message>
        <source>Выберите исходный файл текущего трека</source>
        <translation>Choose the source file of the current track</translation>
    </message>
    <message>
        <source>Выбирайте именно эту композицию: её длительность определяет соответствие waveform позиции Music.</source>
        <translation>Pick exactly this track: its length is what lines the waveform up with the player's position.</translation>
    </message>
    <message>
        <source>Повторить подключение / анализ</source>
        <translation>Retry connection / analysis</translation>
    </message>
    <message>
        <source>Анализ {0}%</source>
        <translation>Analysing {0}%</translation>
    </message>
    <message>
        <source>Файл меток имеет неподдерживаемый формат</source>
        <translation>The cue file has an unsupported format</translation>
    </message>
    <message>
        <source>Метка {0}</source>
        <translation>Cue {0}</translation>
    </message>
    <message>
        <source>Метки пока не сохранены на диск: {0}</source>
        <translation>Cues not saved to disk yet: {0}</translation>
    </message>
    <message>
        <source>Метки трека</source>
        <translation>Track cues</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>⌥ + клик по волне добавляет метку в выбранном месте; ⌘D — в текущей позиции. Назовите метку: «вокал», «припев», «выход».</source>
        <translation>Shift-click the waveform to add a cue there; Ctrl+D adds one at the play position. Name your cues: “vocal”, “chorus”, “outro”.</translation>
    </message>
    <message>
        <source>🔒 Перемотка выключена. Снимите замок для перехода.</source>
        <translation>🔒 Seeking is locked. Unlock to jump.</translation>
    </message>
    <message>
        <source>Нажмите на время для перехода к метке.</source>
        <translation>Click a time to jump to its cue.</translation>
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
        <translation>Delete cue</translation>
    </message>
    <message>
        <source>Повреждён файл сеток</source>
        <translation>The beat grid file is damaged</translation>
    </message>
    <message>
        <source>Некорректная сетка</source>
        <translation>Invalid beat grid</translation>
    </message>
    <message>
        <source>BPM должен быть от 30 до 300</source>
        <translation>BPM must be between 30 and 300</translation>
    </message>
    <message>
        <source>Сетка пока не сохранена: </source>
        <translation>Beat grid not saved yet: </translation>
    </message>
    <message>
        <source>BPM и сетка</source>
        <translation>BPM &amp; beat grid</translation>
    </message>
    <message>
        <source>4 такта · 16 долей</source>
        <translation>4 bars · 16 beats</translation>
    </message>
    <message>
        <source>Показывать сетку</source>
        <translation>Show beat grid</translation>
    </message>
    <message>
        <source>Клик — к ближайшему квадрату</source>
        <translation>Clicks snap to the nearest phrase</translation>
    </message>
    <message>
        <source>Применить</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>−0,01 с</source>
        <translation>−0.01 s</translation>
    </message>
    <message>
        <source>+0,01 с</source>
        <translation>+0.01 s</translation>
    </message>
    <message>
        <source>Квадрат здесь</source>
        <translation>Phrase starts here</translation>
    </message>
    <message>
        <source>Текущая позиция станет началом музыкального квадрата</source>
        <translation>Make the play position the start of a phrase</translation>
    </message>
    <message>
        <source>BPM рассчитывается вместе с волной…</source>
        <translation>BPM is worked out along with the waveform…</translation>
    </message>
    <message>
        <source>Начало: </source>
        <translation>Start: </translation>
    </message>
    <message>
        <source>%.2f с</source>
        <translation>%.2f s</translation>
    </message>
    <message>
        <source> · вручную</source>
        <translation> · manual</translation>
    </message>
    <message>
        <source> · авто, ориентировочно</source>
        <translation> · auto, approximate</translation>
    </message>
    <message>
        <source>Вернуть автоматическую сетку</source>
        <translation>Revert to automatic beat grid</translation>
    </message>
    <message>
        <source>Авто определяет темп и доли. Начало музыкальной фразы при необходимости отметьте вручную. ⌘ + два клика — начало и конец повторяемого участка.</source>
        <translation>Auto detection finds the tempo and beats. Mark where a phrase starts by hand if needed. Ctrl + two clicks set the start and end of a loop.</translation>
    </message>
    <message>
        <source>Введите BPM от 30 до 300</source>
        <translation>Enter a BPM between 30 and 300</translation>
    </message>
    <message>
        <source>Начало квадрата здесь</source>
        <translation>Start phrase here</translation>
    </message>
    <message>
        <source>Отменить начало участка</source>
        <translation>Cancel loop start</translation>
    </message>
    <message>
        <source>Выключить повтор участка</source>
        <translation>Turn off loop</translation>
    </message>
    <message>
        <source>Повтор участка включён · нажмите, чтобы отключить</source>
        <translation>Loop on · click to turn off</translation>
    </message>
    <message>
        <source>Для повтора участка задайте BPM</source>
        <translation>Set a BPM to loop</translation>
    </message>
    <message>
        <source>В треке недостаточно места для целого квадрата</source>
        <translation>Not enough track left for a whole phrase</translation>
    </message>
    <message>
        <source>Вход □ · ⌘ + клик для выхода по квадрату</source>
        <translation>Loop in □ · Ctrl-click to set the loop out on a phrase boundary</translation>
    </message>
    <message>
        <source>Конец участка должен быть правее начала (от 0,5 с)</source>
        <translation>The loop end must be right of the start (at least 0.5 s)</translation>
    </message>
    <message>
        <source>Некорректный путь инструментала</source>
        <translation>Invalid instrumental path</translation>
    </message>
    <message>
        <source>Исходный трек изменился во время обработки</source>
        <translation>The source track changed during processing</translation>
    </message>
    <message>
        <source>Процесс обработки завершился с кодом {0}</source>
        <translation>Processing ended with exit code {0}</translation>
    </message>
    <message>
        <source>Длительность инструментала не совпала с оригиналом</source>
        <translation>The instrumental's length doesn't match the original</translation>
    </message>
    <message>
        <source>Модуль удаления вокала не установлен. Запустите «Установить модуль вокала.command» из комплекта Kelvara, затем повторите обработку.</source>
        <translation>The vocal removal module isn't installed. Choose “Install vocal module…” from the menu, then try processing again.</translation>
    </message>
    <message>
        <source>Инструментальный режим · нажмите, чтобы вернуть вокал</source>
        <translation>Instrumental mode · click to bring the vocals back</translation>
    </message>
    <message>
        <source>Убрать вокал с текущей позиции</source>
        <translation>Remove vocals from the current position</translation>
    </message>
    <message>
        <source>Подготовить инструментал</source>
        <translation>Prepare instrumental</translation>
    </message>
    <message>
        <source>Убрать вокал</source>
        <translation>Remove vocals</translation>
    </message>
    <message>
        <source>Вернуть вокал</source>
        <translation>Bring vocals back</translation>
    </message>
    <message>
        <source>Готовить инструментал автоматически</source>
        <translation>Prepare instrumentals automatically</translation>
    </message>
    <message>
        <source>Нужен доступный локальный файл трека</source>
        <translation>The track needs an accessible local file</translation>
    </message>
    <message>
        <source>Готовлю инструментал…</source>
        <translation>Preparing instrumental…</translation>
    </message>
    <message>
        <source>Инструментал готов</source>
        <translation>Instrumental ready</translation>
    </message>
    <message>
        <source>Не удалось подготовить инструментал: </source>
        <translation>Couldn't prepare the instrumental: </translation>
    </message>
    <message>
        <source>Не удалось открыть инструментал</source>
        <translation>Couldn't open the instrumental</translation>
    </message>
    <message>
        <source>Не удалось запустить инструментал</source>
        <translation>Couldn't start the instrumental</translation>
    </message>
    <message>
        <source>Инструментал оборвался: файл повреждён</source>
        <translation>The instrumental broke off: its file is damaged</translation>
    </message>
    <message>
        <source>Закрепление выключено · нажмите для закрепления на экране</source>
        <translation>Not pinned · click to pin on screen</translation>
    </message>
    <message>
        <source>Закреплено на текущем рабочем столе · нажмите для связи с Music</source>
        <translation>Pinned on this desktop · click to link to the player window</translation>
    </message>
    <message>
        <source>Связано с Music · нажмите для отключения</source>
        <translation>Linked to the player window · click to unlink</translation>
    </message>
    <message>
        <source>Для связи окон разрешите Kelvara в Системные настройки → Конфиденциальность и безопасность → Универсальный доступ, затем нажмите булавку снова.</source>
        <translation>Window linking needs an X11 session: under Wayland, Kelvara can't move other apps' windows. Log in to an X11 session and click the pin again.</translation>
    </message>
    <message>
        <source>Откройте окно Music и нажмите булавку снова.</source>
        <translation>Start the player, open its window and click the pin again.</translation>
    </message>
    <message>
        <source>Music закрыта — связь окон отключена.</source>
        <translation>The player has closed — windows unlinked.</translation>
    </message>
    <message>
        <source>Нет разрешения Универсального доступа для связи с Music.</source>
        <translation>No access to windows through X11 — the link to the player window is broken.</translation>
    </message>
    <message>
        <source>Music не разрешает перемещать это окно. Выйдите из полноэкранного режима.</source>
        <translation>The player window can't be moved. Leave full-screen mode.</translation>
    </message>
    <message>
        <source>Не найдено доступное окно Music. Откройте обычное окно Music и включите связь снова.</source>
        <translation>No usable player window found. Open a normal player window and link again.</translation>
    </message>
    <message>
        <source>Нет квадрата / BPM</source>
        <translation>No phrase / BPM</translation>
    </message>
    <message>
        <source>Вход □ </source>
        <translation>Loop in □ </translation>
    </message>
    <message>
        <source>Выход □ </source>
        <translation>Loop out □ </translation>
    </message>
    <message>
        <source>Метка · </source>
        <translation>Cue · </translation>
    </message>
    <message>
        <source>⌥ + клик — метка · ⌘ + два клика — повтор участка · щипок или ⇧ +/− — масштаб · прокрутка двумя пальцами — обзор</source>
        <translation>Shift-click: cue · Ctrl + two clicks: loop · pinch or Shift +/−: zoom · scroll wheel or two fingers: move along the track</translation>
    </message>
    <message>
        <source>Позиция трека</source>
        <translation>Track position</translation>
    </message>
    <message>
        <source>{0} из {1}</source>
        <translation>{0} of {1}</translation>
    </message>
    <message>
        <source>НЧ</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>СЧ</source>
        <translation>Mid</translation>
    </message>
    <message>
        <source>ВЧ</source>
        <translation>High</translation>
    </message>
    <message>
        <source>НЧ &lt;250 Гц · СЧ 250–2500 Гц · ВЧ &gt;2500 Гц. Высота — энергия RMS, контур визуально сглажен.</source>
        <translation>Low &lt;250 Hz · Mid 250–2500 Hz · High &gt;2500 Hz. Height shows RMS energy; the outline is smoothed for display.</translation>
    </message>
    <message>
        <source>Осталось до конца трека · длительность </source>
        <translation>Time remaining · track length </translation>
    </message>
    <message>
        <source>Прокрутка видимого участка волны</source>
        <translation>Scroll the visible part of the waveform</translation>
    </message>
    <message>
        <source>Положение обзора волны</source>
        <translation>Waveform view position</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>Воспроизведение / Пауза</source>
        <translation>Play / Pause</translation>
    </message>
    <message>
        <source>Звуковая волна</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>Установить вокальный модуль…</source>
        <translation>Install vocal module…</translation>
    </message>
    <message>
        <source>Повторить подготовку</source>
        <translation>Prepare again</translation>
    </message>
    <message>
        <source>BPM и сетка · квадрат 16 долей · нажмите для настройки</source>
        <translation>BPM &amp; beat grid · phrase = 16 beats · click to set up</translation>
    </message>
    <message>
        <source>Показать весь трек · ⇧0</source>
        <translation>Show whole track · Shift+0</translation>
    </message>
    <message>
        <source>Перемотка и повтор участка выключены · ⌘L</source>
        <translation>Seeking and looping locked · Ctrl+L</translation>
    </message>
    <message>
        <source>Защита выключена · ⌘L</source>
        <translation>Seek lock off · Ctrl+L</translation>
    </message>
    <message>
        <source>Метки трека · ⌥ + клик на волне или ⌘D в текущей позиции</source>
        <translation>Track cues · Shift-click the waveform, or Ctrl+D at the play position</translation>
    </message>
    <message>
        <source>Отключить закрепление</source>
        <translation>Unpin</translation>
    </message>
    <message>
        <source>Компактный вид</source>
        <translation>Compact view</translation>
    </message>
    <message>
        <source>Показать Music</source>
        <translation>Show player</translation>
    </message>
    <message>
        <source>Увеличить волну</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Уменьшить волну</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Показать весь трек</source>
        <translation>Show whole track</translation>
    </message>
    <message>
        <source>Добавить метку</source>
        <translation>Add cue</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>Язык / Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>После перезапуска</source>
        <translation>Applies after restart</translation>
    </message>
    <message>
        <source>Перезапустить сейчас</source>
        <translation>Restart now</translation>
    </message>
    <message>
        <source>Перезапустить Kelvara?</source>
        <translation>Restart Kelvara?</translation>
    </message>
    <message>
        <source>Выбран язык: {0}. Изменение вступит в силу после перезапуска. Если сейчас играет инструментал, перед перезапуском приложение вернёт воспроизведение в Music.</source>
        <translation>Language chosen: {0}. The change takes effect after a restart. If an instrumental is playing, Kelvara hands playback back to the player before restarting.</translation>
    </message>
    <message>
        <source>Позже</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>Не удалось перезапустить приложение. Закройте и откройте Kelvara вручную.</source>
        <translation>Couldn't restart the app. Please quit and reopen Kelvara yourself.</translation>
    </message>
    <message>
        <source>Нужно минимум 6 ГБ свободного места.</source>
        <translation>At least 6 GB of free space is needed.</translation>
    </message>
    <message>
        <source>Установка уже идёт в другом окне установщика.</source>
        <translation>An installation is already running in another installer window.</translation>
    </message>
    <message>
        <source>Загрузка Python…</source>
        <translation>Downloading Python…</translation>
    </message>
    <message>
        <source>Проверка целостности Python не пройдена. Повторите загрузку.</source>
        <translation>Python failed the integrity check. Download it again.</translation>
    </message>
    <message>
        <source>Распаковка Python…</source>
        <translation>Unpacking Python…</translation>
    </message>
    <message>
        <source>Не удалось загрузить Python. Проверьте интернет и повторите.</source>
        <translation>Couldn't download Python. Check your internet connection and try again.</translation>
    </message>
    <message>
        <source>Установка остановилась. Проверьте интернет и свободное место, затем повторите. Подробности — в журнале.</source>
        <translation>The installation stopped. Check your internet connection and free space, then try again. Details are in the log.</translation>
    </message>
    <message>
        <source>Журнал</source>
        <translation>Log</translation>
    </message>
    <message>
        <source>Установить</source>
        <translation>Install</translation>
    </message>
    <message>
        <source>Вокальный модуль</source>
        <translation>Vocal module</translation>
    </message>
    <message>
        <source>Нажмите «Установить». Всё остальное установщик сделает сам.</source>
        <translation>Click “Install”. The installer does the rest.</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Всё готово</source>
        <translation>All done</translation>
    </message>
    <message>
        <source>Вернитесь в Kelvara и нажмите кнопку удаления вокала.</source>
        <translation>Go back to Kelvara and click the remove-vocals button.</translation>
    </message>
    <message>
        <source>Установка отменена</source>
        <translation>Installation cancelled</translation>
    </message>
    <message>
        <source>Не удалось завершить установку</source>
        <translation>The installation couldn't be completed</translation>
    </message>
    <message>
        <source>Прежний рабочий модуль сохранён. Можно повторить установку.</source>
        <translation>Your previous working module has been kept. You can run the installation again.</translation>
    </message>
    <message>
        <source>Скачиваем и устанавливаем компоненты. Это может занять несколько минут.</source>
        <translation>Downloading and installing components. This may take a few minutes.</translation>
    </message>
    <message>
        <source>Оставьте окно открытым — установка продолжается.</source>
        <translation>Keep this window open — the installation is still running.</translation>
    </message>
    <message>
        <source>Остановка…</source>
        <translation>Stopping…</translation>
    </message>
    <message>
        <source>Установка вокального модуля</source>
        <translation>Vocal module installer</translation>
    </message>
    <message>
        <source>Нужны интернет и 6 ГБ свободного места. Python установится автоматически только для Kelvara.</source>
        <translation>Needs an internet connection and 6 GB of free space. Python is installed automatically, for Kelvara only.</translation>
    </message>
    <message>
        <source>Готово</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Music не отвечает</source>
        <translation>The player isn't responding</translation>
    </message>
    <message>
        <source>Строка запроса слишком длинная</source>
        <translation>The request line is too long</translation>
    </message>
    <message>
        <source>Некорректный JSON: {0}</source>
        <translation>Invalid JSON: {0}</translation>
    </message>
    <message>
        <source>Поле «{0}» отсутствует или имеет неверный тип</source>
        <translation>Field “{0}” is missing or has the wrong type</translation>
    </message>
    <message>
        <source>Поле «{0}» не является конечным числом</source>
        <translation>Field “{0}” is not a finite number</translation>
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
        <translation>Usage: kelvara-analyze [--json] [--no-cache] [--jobs N] FILE…
Analyses audio files through the same cache as Kelvara and prints one line per file: path, length, number of points, BPM, beat grid start and confidence, analysis time, and whether the result came from the cache.

  --json      print one JSON object per line
  --no-cache  analyse afresh, without reading or writing the cache
  --jobs N    analyse up to N files at once (default: one per core)
  --help      show this help
  --version   show the version

The exit code is non-zero if any file could not be analysed; a cache that could not be written is only a warning.</translation>
    </message>
    <message>
        <source>из кэша</source>
        <translation>from cache</translation>
    </message>
    <message>
        <source>проанализирован</source>
        <translation>analysed</translation>
    </message>
    <message>
        <source>{0} — {1} с, точек: {2}, ритм не найден; {3} с, {4}</source>
        <translation>{0} — {1} s, points: {2}, no steady beat; {3} s, {4}</translation>
    </message>
    <message>
        <source>{0} — {1} с, точек: {2}, BPM {3}, сетка от {4} с, уверенность {5}; {6} с, {7}</source>
        <translation>{0} — {1} s, points: {2}, BPM {3}, beat grid from {4} s, confidence {5}; {6} s, {7}</translation>
    </message>
    <message>
        <source>Не указаны файлы для анализа.</source>
        <translation>No files given to analyse.</translation>
    </message>
    <message>
        <source>Неизвестный параметр: {0}</source>
        <translation>Unknown option: {0}</translation>
    </message>
    <message>
        <source>Плеер</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>Автоматически</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>Диапазон темпа</source>
        <translation>Tempo range</translation>
    </message>
    <message>
        <source>Авто</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Не удалось прочитать аудио: файл повреждён или его формат не поддерживается.</source>
        <translation>Can't read the audio: the file is damaged or its format is not supported.</translation>
    </message>
    <message>
        <source>Не удалось загрузить библиотеку декодирования {0}; переустановите программу.</source>
        <translation>Couldn't load the decoding library {0}; reinstall the program.</translation>
    </message>
    <message>
        <source>Заголовок файла неправдоподобен ({0} Гц, каналов: {1}); файл, вероятно, повреждён.</source>
        <translation>The file's header is implausible ({0} Hz, {1} channels); the file is probably damaged.</translation>
    </message>
    <message>
        <source>Параметр {0} ждёт число от 1 до {1}.</source>
        <translation>Option {0} expects a number from 1 to {1}.</translation>
    </message>
    <message>
        <source>Предупреждение: кэш не записан: {0}</source>
        <translation>Warning: cache not written: {0}</translation>
    </message>
    <message>
        <source>файлов готово: {0} из {1}</source>
        <translation>files done: {0} of {1}</translation>
    </message>
    <message>
        <source>Использование: kelvara [--help] [--version]
Показывает подробную звуковую волну трека, который играет MPRIS-плеер (mpv, Rhythmbox, Strawberry, Elisa, VLC …), с сеткой долей, метками и повторами.

  --help     показать эту справку
  --version  показать версию

С переменной окружения QT_LOGGING_RULES="kelvara.*=true" программа пишет подробности ошибок в стандартный поток ошибок.</source>
        <translation>Usage: kelvara [--help] [--version]
Shows a detailed waveform of the track an MPRIS player (mpv, Rhythmbox, Strawberry, Elisa, VLC …) is playing, with a beat grid, cues and loops.

  --help     show this help
  --version  show the version

With QT_LOGGING_RULES="kelvara.*=true" in its environment the program writes the details of errors to standard error.</translation>
    </message>
    <message>
        <source>Метка не найдена: {0}</source>
        <translation>No cue with the id {0}</translation>
    </message>
    <message>
        <source>Читаю трек…</source>
        <translation>Reading the track…</translation>
    </message>
    <message>
        <source>Отделяю вокал… {0} %</source>
        <translation>Removing vocals… {0} %</translation>
    </message>
    <message>
        <source>Не найден декодер Kelvara</source>
        <translation>Kelvara's decoder wasn't found</translation>
    </message>
    <message>
        <source>Не удалось декодировать аудио.</source>
        <translation>Couldn't decode the audio.</translation>
    </message>
    <message>
        <source>Трек записан в моно: вокал в нём нельзя отделить</source>
        <translation>The track is mono: its vocals can't be separated</translation>
    </message>
    <message>
        <source>Ошибка обработки: {0}</source>
        <translation>Processing error: {0}</translation>
    </message>
    <message>
        <source>{0} — инструментал: {1}</source>
        <translation>{0} — instrumental: {1}</translation>
    </message>
    <message>
        <source>После --decode нужен ровно один файл.</source>
        <translation>--decode takes exactly one file.</translation>
    </message>
    <message>
        <source>  --instrumental  подготовить для файлов инструменталы (без вокала) в кэше, которым пользуется окно
  --decode ФАЙЛ   вывести звук файла так, как его видит Kelvara (для обработчика вокала)</source>
        <translation>  --instrumental  prepare the files' instrumentals (without vocals) in the cache the window uses
  --decode FILE   write the file's audio as Kelvara sees it (for the vocal worker)</translation>
    </message>
    <message>
        <source>Использование: morvik [--install] [--help] [--version]
Устанавливает вокальный модуль для Kelvara: отдельный Python только для Kelvara и компоненты удаления вокала. Нужны интернет и 6 ГБ свободного места.

  --install  начать установку сразу, как откроется окно
  --help     показать эту справку
  --version  показать версию</source>
        <translation>Usage: morvik [--install] [--help] [--version]
Installs the vocal module for Kelvara: a Python of its own, for Kelvara only, and the vocal-removal components. Needs an internet connection and 6 GB of free space.

  --install  start installing as soon as the window opens
  --help     show this help
  --version  show the version</translation>
    </message>
    <message>
        <source>Некорректное описание загрузки Python</source>
        <translation>Invalid description of the Python download</translation>
    </message>
    <message>
        <source>Подготовка Python…</source>
        <translation>Preparing Python…</translation>
    </message>
    <message>
        <source>Загрузка компонентов…</source>
        <translation>Downloading components…</translation>
    </message>
    <message>
        <source>Проверка модуля…</source>
        <translation>Checking the module…</translation>
    </message>
    <message>
        <source>Не удалось установить компоненты.</source>
        <translation>The components could not be installed.</translation>
    </message>
    <message>
        <source>Проверка модуля не пройдена.</source>
        <translation>The module failed its check.</translation>
    </message>
</context>
</TS>
