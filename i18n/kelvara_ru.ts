<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="ru_RU">
<context>
    <name>Kelvara</name>
    <message>
        <source>Ошибка связи с Music: {0}</source>
        <translation>Ошибка связи с плеером: {0}</translation>
    </message>
    <message>
        <source>Ошибка Apple Events</source>
        <translation>Ошибка управления плеером</translation>
    </message>
    <message>
        <source>Некорректная команда Music</source>
        <translation>Некорректная команда для плеера</translation>
    </message>
    <message>
        <source>Разрешите Kelvara управлять Music: Системные настройки → Конфиденциальность и безопасность → Автоматизация. Затем нажмите «Повторить».</source>
        <translation>Плеер не разрешает Kelvara управлять воспроизведением: D-Bus отказал в доступе. Если плеер или Kelvara работают в песочнице (Flatpak, Snap), откройте им доступ к MPRIS, затем нажмите «Повторить».</translation>
    </message>
    <message>
        <source>Music закрыта</source>
        <translation>Плеер закрыт</translation>
    </message>
    <message>
        <source>Ожидание Music</source>
        <translation>Ожидание плеера</translation>
    </message>
    <message>
        <source>Выберите трек в Music</source>
        <translation>Выберите трек в плеере</translation>
    </message>
    <message>
        <source>Music закрыта — откройте приложение «Музыка»</source>
        <translation>Плеер закрыт — запустите музыкальный плеер с поддержкой MPRIS</translation>
    </message>
    <message>
        <source>Music не сообщает путь к файлу. Для потокового или DRM-трека waveform недоступен. Если это ваш локальный файл, выберите его вручную.</source>
        <translation>Плеер не сообщает путь к файлу. Для потокового или DRM-трека waveform недоступен. Если это ваш локальный файл, выберите его вручную.</translation>
    </message>
    <message>
        <source>Использовать путь из Music</source>
        <translation>Использовать путь из плеера</translation>
    </message>
    <message>
        <source>Выбирайте именно эту композицию: её длительность определяет соответствие waveform позиции Music.</source>
        <translation>Выбирайте именно эту композицию: её длительность определяет соответствие waveform позиции плеера.</translation>
    </message>
    <message>
        <source>⌥ + клик по волне добавляет метку в выбранном месте; ⌘D — в текущей позиции. Назовите метку: «вокал», «припев», «выход».</source>
        <translation>Shift + клик по волне добавляет метку в выбранном месте; Ctrl+D — в текущей позиции. Назовите метку: «вокал», «припев», «выход».</translation>
    </message>
    <message>
        <source>Авто определяет темп и доли. Начало музыкальной фразы при необходимости отметьте вручную. ⌘ + два клика — начало и конец повторяемого участка.</source>
        <translation>Авто определяет темп и доли. Начало музыкальной фразы при необходимости отметьте вручную. Ctrl + два клика — начало и конец повторяемого участка.</translation>
    </message>
    <message>
        <source>Вход □ · ⌘ + клик для выхода по квадрату</source>
        <translation>Вход □ · Ctrl + клик для выхода по квадрату</translation>
    </message>
    <message>
        <source>Модуль удаления вокала не установлен. Запустите «Установить модуль вокала.command» из комплекта Kelvara, затем повторите обработку.</source>
        <translation>Модуль удаления вокала не установлен. Выберите в меню «Установить вокальный модуль…», затем повторите обработку.</translation>
    </message>
    <message>
        <source>Закреплено на текущем рабочем столе · нажмите для связи с Music</source>
        <translation>Закреплено на текущем рабочем столе · нажмите для связи с окном плеера</translation>
    </message>
    <message>
        <source>Связано с Music · нажмите для отключения</source>
        <translation>Связано с окном плеера · нажмите для отключения</translation>
    </message>
    <message>
        <source>Для связи окон разрешите Kelvara в Системные настройки → Конфиденциальность и безопасность → Универсальный доступ, затем нажмите булавку снова.</source>
        <translation>Связь окон работает только в сеансе X11: в Wayland Kelvara не может двигать чужие окна. Войдите в сеанс X11 и нажмите булавку снова.</translation>
    </message>
    <message>
        <source>Откройте окно Music и нажмите булавку снова.</source>
        <translation>Запустите плеер, откройте его окно и нажмите булавку снова.</translation>
    </message>
    <message>
        <source>Music закрыта — связь окон отключена.</source>
        <translation>Плеер закрыт — связь окон отключена.</translation>
    </message>
    <message>
        <source>Нет разрешения Универсального доступа для связи с Music.</source>
        <translation>Нет доступа к окнам через X11 — связь с окном плеера прервана.</translation>
    </message>
    <message>
        <source>Music не разрешает перемещать это окно. Выйдите из полноэкранного режима.</source>
        <translation>Окно плеера не удаётся переместить. Выйдите из полноэкранного режима.</translation>
    </message>
    <message>
        <source>Не найдено доступное окно Music. Откройте обычное окно Music и включите связь снова.</source>
        <translation>Не найдено подходящее окно плеера. Откройте обычное окно плеера и включите связь снова.</translation>
    </message>
    <message>
        <source>⌥ + клик — метка · ⌘ + два клика — повтор участка · щипок или ⇧ +/− — масштаб · прокрутка двумя пальцами — обзор</source>
        <translation>Shift + клик — метка · Ctrl + два клика — повтор участка · щипок или Shift +/− — масштаб · прокрутка колесом или двумя пальцами — обзор</translation>
    </message>
    <message>
        <source>Показать весь трек · ⇧0</source>
        <translation>Показать весь трек · Shift+0</translation>
    </message>
    <message>
        <source>Перемотка и повтор участка выключены · ⌘L</source>
        <translation>Перемотка и повтор участка выключены · Ctrl+L</translation>
    </message>
    <message>
        <source>Защита выключена · ⌘L</source>
        <translation>Защита выключена · Ctrl+L</translation>
    </message>
    <message>
        <source>Метки трека · ⌥ + клик на волне или ⌘D в текущей позиции</source>
        <translation>Метки трека · Shift + клик на волне или Ctrl+D в текущей позиции</translation>
    </message>
    <message>
        <source>Показать Music</source>
        <translation>Показать плеер</translation>
    </message>
    <message>
        <source>Выбран язык: {0}. Изменение вступит в силу после перезапуска. Если сейчас играет инструментал, перед перезапуском приложение вернёт воспроизведение в Music.</source>
        <translation>Выбран язык: {0}. Изменение вступит в силу после перезапуска. Если сейчас играет инструментал, перед перезапуском приложение вернёт воспроизведение в плеер.</translation>
    </message>
    <message>
        <source>Music не отвечает</source>
        <translation>Плеер не отвечает</translation>
    </message>
</context>
</TS>
