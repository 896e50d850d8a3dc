<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="ru_RU">
<context>
    <name>Kelvara</name>
    <message>
        <source>Kelvara · Звуковая волна</source>
        <translation>Kelvara · Forma de onda</translation>
    </message>
    <message>
        <source>Ошибка связи с Music: {0}</source>
        <translation>Error de conexión con el reproductor: {0}</translation>
    </message>
    <message>
        <source>Служебный процесс завершился</source>
        <translation>El proceso auxiliar se ha detenido</translation>
    </message>
    <message>
        <source>Служебный процесс не отвечает</source>
        <translation>El proceso auxiliar no responde</translation>
    </message>
    <message>
        <source>Ошибка Apple Events</source>
        <translation>Error al controlar el reproductor</translation>
    </message>
    <message>
        <source>Некорректная команда Music</source>
        <translation>Orden no válida para el reproductor</translation>
    </message>
    <message>
        <source>Разрешите Kelvara управлять Music: Системные настройки → Конфиденциальность и безопасность → Автоматизация. Затем нажмите «Повторить».</source>
        <translation>El reproductor no permite que Kelvara controle la reproducción: D-Bus ha denegado el acceso. Si el reproductor o Kelvara se ejecutan en un entorno aislado (Flatpak, Snap), dales acceso a MPRIS y pulsa «Reintentar».</translation>
    </message>
    <message>
        <source>Music закрыта</source>
        <translation>El reproductor está cerrado</translation>
    </message>
    <message>
        <source>Нет текущего трека</source>
        <translation>No hay ninguna pista en curso</translation>
    </message>
    <message>
        <source>Трек уже сменился</source>
        <translation>La pista ya ha cambiado</translation>
    </message>
    <message>
        <source>Трек сменился во время чтения. Повторяем.</source>
        <translation>La pista ha cambiado durante la lectura. Reintentando…</translation>
    </message>
    <message>
        <source>Ожидание Music</source>
        <translation>Esperando al reproductor</translation>
    </message>
    <message>
        <source>Подготовка инструментала</source>
        <translation>Preparación del instrumental</translation>
    </message>
    <message>
        <source>Не удалось прочитать сохранённые сетки: </source>
        <translation>No se han podido leer las cuadrículas guardadas: </translation>
    </message>
    <message>
        <source>Не удалось прочитать метки. Исходный файл сохранён: {0}</source>
        <translation>No se han podido leer los cues. El archivo original se conserva intacto: {0}</translation>
    </message>
    <message>
        <source>Выберите трек в Music</source>
        <translation>Elige una pista en el reproductor</translation>
    </message>
    <message>
        <source>Music закрыта — откройте приложение «Музыка»</source>
        <translation>El reproductor está cerrado: abre un reproductor de música compatible con MPRIS</translation>
    </message>
    <message>
        <source>Защита перемотки</source>
        <translation>Bloqueo de saltos</translation>
    </message>
    <message>
        <source>Перемотка выключена · снимите замок</source>
        <translation>Saltos bloqueados · quita el bloqueo</translation>
    </message>
    <message>
        <source>Music не сообщает путь к файлу. Для потокового или DRM-трека waveform недоступен. Если это ваш локальный файл, выберите его вручную.</source>
        <translation>El reproductor no indica la ruta del archivo. Las pistas en streaming o con DRM no tienen forma de onda. Si es un archivo local tuyo, selecciónalo a mano.</translation>
    </message>
    <message>
        <source>Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную.</source>
        <translation>No se puede acceder al archivo. Comprueba que el disco esté conectado y que los permisos sean correctos, o selecciona el archivo a mano.</translation>
    </message>
    <message>
        <source>Не удалось декодировать аудио. Возможно, файл защищён DRM или имеет неподдерживаемый формат.</source>
        <translation>No se ha podido decodificar el audio. Puede que el archivo tenga DRM o un formato no compatible.</translation>
    </message>
    <message>
        <source>Аудиофайл прочитан не полностью; результат не сохранён.</source>
        <translation>El archivo de audio no se ha leído entero; el resultado no se ha guardado.</translation>
    </message>
    <message>
        <source>Не удалось создать фильтры частотного анализа</source>
        <translation>No se han podido crear los filtros del análisis de frecuencias</translation>
    </message>
    <message>
        <source>Некорректные данные waveform</source>
        <translation>Datos de forma de onda no válidos</translation>
    </message>
    <message>
        <source>Устойчивый ритм не найден. Можно ввести BPM вручную.</source>
        <translation>No se ha encontrado un ritmo estable. Puedes introducir el BPM a mano.</translation>
    </message>
    <message>
        <source>Ритм определён неуверенно — проверьте сетку на слух.</source>
        <translation>Ritmo detectado con poca seguridad: comprueba la cuadrícula de oído.</translation>
    </message>
    <message>
        <source>Выбрать локальный файл…</source>
        <translation>Elegir archivo local…</translation>
    </message>
    <message>
        <source>Использовать путь из Music</source>
        <translation>Usar la ruta del reproductor</translation>
    </message>
    <message>
        <source>Анализ аудио…</source>
        <translation>Analizando el audio…</translation>
    </message>
    <message>
        <source>Файл изменился во время анализа. Нажмите «Повторить».</source>
        <translation>El archivo ha cambiado durante el análisis. Pulsa «Reintentar».</translation>
    </message>
    <message>
        <source>Загружено из кэша</source>
        <translation>Cargado desde la caché</translation>
    </message>
    <message>
        <source>Анализ готов · кэш сохранён</source>
        <translation>Análisis listo · guardado en caché</translation>
    </message>
    <message>
        <source>Волна готова, но кэш не записан: {0}</source>
        <translation>Forma de onda lista, pero no se ha guardado en caché: {0}</translation>
    </message>
    <message>
        <source>Волна недоступна: {0}</source>
        <translation>Forma de onda no disponible: {0}</translation>
    </message>
    <message>
        <source>Выберите исходный файл текущего трека</source>
        <translation>Elige el archivo original de la pista actual</translation>
    </message>
    <message>
        <source>Выбирайте именно эту композицию: её длительность определяет соответствие waveform позиции Music.</source>
        <translation>Elige exactamente esta pista: su duración es la que alinea la forma de onda con la posición del reproductor.</translation>
    </message>
    <message>
        <source>Повторить подключение / анализ</source>
        <translation>Reintentar conexión / análisis</translation>
    </message>
    <message>
        <source>Анализ {0}%</source>
        <translation>Analizando {0} %</translation>
    </message>
    <message>
        <source>Файл меток имеет неподдерживаемый формат</source>
        <translation>El archivo de cues tiene un formato no compatible</translation>
    </message>
    <message>
        <source>Метка {0}</source>
        <translation>Cue {0}</translation>
    </message>
    <message>
        <source>Метки пока не сохранены на диск: {0}</source>
        <translation>Los cues aún no se han guardado en el disco: {0}</translation>
    </message>
    <message>
        <source>Метки трека</source>
        <translation>Cues de la pista</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>⌥ + клик по волне добавляет метку в выбранном месте; ⌘D — в текущей позиции. Назовите метку: «вокал», «припев», «выход».</source>
        <translation>Mayús + clic en la forma de onda añade un cue en ese punto; Ctrl+D, en la posición actual. Ponles nombre: «voz», «estribillo», «outro».</translation>
    </message>
    <message>
        <source>🔒 Перемотка выключена. Снимите замок для перехода.</source>
        <translation>🔒 Saltos bloqueados. Quita el bloqueo para saltar.</translation>
    </message>
    <message>
        <source>Нажмите на время для перехода к метке.</source>
        <translation>Pulsa la marca de tiempo de un cue para saltar a él.</translation>
    </message>
    <message>
        <source>Мятный</source>
        <translation>Menta</translation>
    </message>
    <message>
        <source>Оранжевый</source>
        <translation>Naranja</translation>
    </message>
    <message>
        <source>Синий</source>
        <translation>Cian</translation>
    </message>
    <message>
        <source>Розовый</source>
        <translation>Rosa</translation>
    </message>
    <message>
        <source>Название</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Удалить метку</source>
        <translation>Eliminar cue</translation>
    </message>
    <message>
        <source>Повреждён файл сеток</source>
        <translation>El archivo de cuadrículas está dañado</translation>
    </message>
    <message>
        <source>Некорректная сетка</source>
        <translation>Cuadrícula no válida</translation>
    </message>
    <message>
        <source>BPM должен быть от 30 до 300</source>
        <translation>El BPM debe estar entre 30 y 300</translation>
    </message>
    <message>
        <source>Сетка пока не сохранена: </source>
        <translation>La cuadrícula aún no se ha guardado: </translation>
    </message>
    <message>
        <source>BPM и сетка</source>
        <translation>BPM y cuadrícula</translation>
    </message>
    <message>
        <source>4 такта · 16 долей</source>
        <translation>4 compases · 16 tiempos</translation>
    </message>
    <message>
        <source>Показывать сетку</source>
        <translation>Mostrar cuadrícula</translation>
    </message>
    <message>
        <source>Клик — к ближайшему квадрату</source>
        <translation>El clic salta a la frase más cercana</translation>
    </message>
    <message>
        <source>Применить</source>
        <translation>Aplicar</translation>
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
        <translation>La frase empieza aquí</translation>
    </message>
    <message>
        <source>Текущая позиция станет началом музыкального квадрата</source>
        <translation>La posición actual pasa a ser el inicio de una frase</translation>
    </message>
    <message>
        <source>BPM рассчитывается вместе с волной…</source>
        <translation>El BPM se calcula junto con la forma de onda…</translation>
    </message>
    <message>
        <source>Начало: </source>
        <translation>Inicio: </translation>
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
        <translation> · automático, aproximado</translation>
    </message>
    <message>
        <source>Вернуть автоматическую сетку</source>
        <translation>Volver a la cuadrícula automática</translation>
    </message>
    <message>
        <source>Авто определяет темп и доли. Начало музыкальной фразы при необходимости отметьте вручную. ⌘ + два клика — начало и конец повторяемого участка.</source>
        <translation>El modo automático detecta el tempo y los tiempos. Si hace falta, marca a mano dónde empieza la frase. Ctrl + dos clics fijan el inicio y el final de un loop.</translation>
    </message>
    <message>
        <source>Введите BPM от 30 до 300</source>
        <translation>Introduce un BPM entre 30 y 300</translation>
    </message>
    <message>
        <source>Начало квадрата здесь</source>
        <translation>Empezar la frase aquí</translation>
    </message>
    <message>
        <source>Отменить начало участка</source>
        <translation>Cancelar el inicio del loop</translation>
    </message>
    <message>
        <source>Выключить повтор участка</source>
        <translation>Desactivar loop</translation>
    </message>
    <message>
        <source>Повтор участка включён · нажмите, чтобы отключить</source>
        <translation>Loop activado · pulsa para desactivarlo</translation>
    </message>
    <message>
        <source>Для повтора участка задайте BPM</source>
        <translation>Para hacer un loop, fija el BPM</translation>
    </message>
    <message>
        <source>В треке недостаточно места для целого квадрата</source>
        <translation>No queda pista suficiente para una frase entera</translation>
    </message>
    <message>
        <source>Вход □ · ⌘ + клик для выхода по квадрату</source>
        <translation>Entrada □ · Ctrl + clic para fijar la salida en un límite de frase</translation>
    </message>
    <message>
        <source>Конец участка должен быть правее начала (от 0,5 с)</source>
        <translation>El final del loop debe quedar a la derecha del inicio (al menos 0,5 s)</translation>
    </message>
    <message>
        <source>Некорректный путь инструментала</source>
        <translation>Ruta del instrumental no válida</translation>
    </message>
    <message>
        <source>Исходный трек изменился во время обработки</source>
        <translation>La pista original ha cambiado durante el procesamiento</translation>
    </message>
    <message>
        <source>Процесс обработки завершился с кодом {0}</source>
        <translation>El procesamiento terminó con el código {0}</translation>
    </message>
    <message>
        <source>Длительность инструментала не совпала с оригиналом</source>
        <translation>La duración del instrumental no coincide con la del original</translation>
    </message>
    <message>
        <source>Модуль удаления вокала не установлен. Запустите «Установить модуль вокала.command» из комплекта Kelvara, затем повторите обработку.</source>
        <translation>El módulo para quitar la voz no está instalado. Elige «Instalar módulo de voz…» en el menú y vuelve a intentar el procesamiento.</translation>
    </message>
    <message>
        <source>Инструментальный режим · нажмите, чтобы вернуть вокал</source>
        <translation>Modo instrumental · pulsa para recuperar la voz</translation>
    </message>
    <message>
        <source>Убрать вокал с текущей позиции</source>
        <translation>Quitar la voz desde la posición actual</translation>
    </message>
    <message>
        <source>Подготовить инструментал</source>
        <translation>Preparar instrumental</translation>
    </message>
    <message>
        <source>Убрать вокал</source>
        <translation>Quitar la voz</translation>
    </message>
    <message>
        <source>Вернуть вокал</source>
        <translation>Recuperar la voz</translation>
    </message>
    <message>
        <source>Готовить инструментал автоматически</source>
        <translation>Preparar instrumentales automáticamente</translation>
    </message>
    <message>
        <source>Нужен доступный локальный файл трека</source>
        <translation>Hace falta que la pista sea un archivo local accesible</translation>
    </message>
    <message>
        <source>Готовлю инструментал…</source>
        <translation>Preparando el instrumental…</translation>
    </message>
    <message>
        <source>Инструментал готов</source>
        <translation>Instrumental listo</translation>
    </message>
    <message>
        <source>Не удалось подготовить инструментал: </source>
        <translation>No se ha podido preparar el instrumental: </translation>
    </message>
    <message>
        <source>Не удалось открыть инструментал</source>
        <translation>No se ha podido abrir el instrumental</translation>
    </message>
    <message>
        <source>Не удалось запустить инструментал</source>
        <translation>No se ha podido reproducir el instrumental</translation>
    </message>
    <message>
        <source>Инструментал оборвался: файл повреждён</source>
        <translation>El instrumental se interrumpió: el archivo está dañado</translation>
    </message>
    <message>
        <source>Закрепление выключено · нажмите для закрепления на экране</source>
        <translation>Sin fijar · pulsa para fijar la ventana en pantalla</translation>
    </message>
    <message>
        <source>Закреплено на текущем рабочем столе · нажмите для связи с Music</source>
        <translation>Fijada en este escritorio · pulsa para vincularla a la ventana del reproductor</translation>
    </message>
    <message>
        <source>Связано с Music · нажмите для отключения</source>
        <translation>Vinculada a la ventana del reproductor · pulsa para desvincularla</translation>
    </message>
    <message>
        <source>Для связи окон разрешите Kelvara в Системные настройки → Конфиденциальность и безопасность → Универсальный доступ, затем нажмите булавку снова.</source>
        <translation>Vincular ventanas requiere una sesión X11: en Wayland, Kelvara no puede mover ventanas de otras aplicaciones. Inicia una sesión X11 y vuelve a pulsar la chincheta.</translation>
    </message>
    <message>
        <source>Откройте окно Music и нажмите булавку снова.</source>
        <translation>Abre el reproductor y su ventana, y vuelve a pulsar la chincheta.</translation>
    </message>
    <message>
        <source>Music закрыта — связь окон отключена.</source>
        <translation>El reproductor se ha cerrado: ventanas desvinculadas.</translation>
    </message>
    <message>
        <source>Нет разрешения Универсального доступа для связи с Music.</source>
        <translation>Sin acceso a las ventanas por X11: se ha perdido el vínculo con la ventana del reproductor.</translation>
    </message>
    <message>
        <source>Music не разрешает перемещать это окно. Выйдите из полноэкранного режима.</source>
        <translation>No se puede mover la ventana del reproductor. Sal del modo de pantalla completa.</translation>
    </message>
    <message>
        <source>Не найдено доступное окно Music. Откройте обычное окно Music и включите связь снова.</source>
        <translation>No se ha encontrado ninguna ventana del reproductor utilizable. Abre una ventana normal del reproductor y vuelve a vincularla.</translation>
    </message>
    <message>
        <source>Нет квадрата / BPM</source>
        <translation>Sin frase / BPM</translation>
    </message>
    <message>
        <source>Вход □ </source>
        <translation>Entrada □ </translation>
    </message>
    <message>
        <source>Выход □ </source>
        <translation>Salida □ </translation>
    </message>
    <message>
        <source>Метка · </source>
        <translation>Cue · </translation>
    </message>
    <message>
        <source>⌥ + клик — метка · ⌘ + два клика — повтор участка · щипок или ⇧ +/− — масштаб · прокрутка двумя пальцами — обзор</source>
        <translation>Mayús + clic: cue · Ctrl + dos clics: loop · pellizco o Mayús +/−: zoom · rueda o dos dedos: desplazarse por la pista</translation>
    </message>
    <message>
        <source>Позиция трека</source>
        <translation>Posición en la pista</translation>
    </message>
    <message>
        <source>{0} из {1}</source>
        <translation>{0} de {1}</translation>
    </message>
    <message>
        <source>НЧ</source>
        <translation>Graves</translation>
    </message>
    <message>
        <source>СЧ</source>
        <translation>Medios</translation>
    </message>
    <message>
        <source>ВЧ</source>
        <translation>Agudos</translation>
    </message>
    <message>
        <source>НЧ &lt;250 Гц · СЧ 250–2500 Гц · ВЧ &gt;2500 Гц. Высота — энергия RMS, контур визуально сглажен.</source>
        <translation>Graves &lt;250 Hz · Medios 250–2500 Hz · Agudos &gt;2500 Hz. La altura muestra la energía RMS; el contorno está suavizado.</translation>
    </message>
    <message>
        <source>Осталось до конца трека · длительность </source>
        <translation>Tiempo restante · duración de la pista </translation>
    </message>
    <message>
        <source>Прокрутка видимого участка волны</source>
        <translation>Desplazar la parte visible de la forma de onda</translation>
    </message>
    <message>
        <source>Положение обзора волны</source>
        <translation>Posición de la vista de la forma de onda</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>Воспроизведение / Пауза</source>
        <translation>Reproducir / Pausa</translation>
    </message>
    <message>
        <source>Звуковая волна</source>
        <translation>Forma de onda</translation>
    </message>
    <message>
        <source>Установить вокальный модуль…</source>
        <translation>Instalar módulo de voz…</translation>
    </message>
    <message>
        <source>Повторить подготовку</source>
        <translation>Volver a preparar</translation>
    </message>
    <message>
        <source>BPM и сетка · квадрат 16 долей · нажмите для настройки</source>
        <translation>BPM y cuadrícula · frase = 16 tiempos · pulsa para ajustar</translation>
    </message>
    <message>
        <source>Показать весь трек · ⇧0</source>
        <translation>Mostrar toda la pista · Mayús+0</translation>
    </message>
    <message>
        <source>Перемотка и повтор участка выключены · ⌘L</source>
        <translation>Saltos y loops bloqueados · Ctrl+L</translation>
    </message>
    <message>
        <source>Защита выключена · ⌘L</source>
        <translation>Bloqueo de saltos desactivado · Ctrl+L</translation>
    </message>
    <message>
        <source>Метки трека · ⌥ + клик на волне или ⌘D в текущей позиции</source>
        <translation>Cues de la pista · Mayús + clic en la forma de onda o Ctrl+D en la posición actual</translation>
    </message>
    <message>
        <source>Отключить закрепление</source>
        <translation>Dejar de fijar</translation>
    </message>
    <message>
        <source>Компактный вид</source>
        <translation>Vista compacta</translation>
    </message>
    <message>
        <source>Показать Music</source>
        <translation>Mostrar reproductor</translation>
    </message>
    <message>
        <source>Увеличить волну</source>
        <translation>Acercar</translation>
    </message>
    <message>
        <source>Уменьшить волну</source>
        <translation>Alejar</translation>
    </message>
    <message>
        <source>Показать весь трек</source>
        <translation>Mostrar toda la pista</translation>
    </message>
    <message>
        <source>Добавить метку</source>
        <translation>Añadir cue</translation>
    </message>
    <message>
        <source>Русский</source>
        <translation>Русский</translation>
    </message>
    <message>
        <source>Язык / Language</source>
        <translation>Idioma / Language</translation>
    </message>
    <message>
        <source>После перезапуска</source>
        <translation>Se aplica al reiniciar</translation>
    </message>
    <message>
        <source>Перезапустить сейчас</source>
        <translation>Reiniciar ahora</translation>
    </message>
    <message>
        <source>Перезапустить Kelvara?</source>
        <translation>¿Reiniciar Kelvara?</translation>
    </message>
    <message>
        <source>Выбран язык: {0}. Изменение вступит в силу после перезапуска. Если сейчас играет инструментал, перед перезапуском приложение вернёт воспроизведение в Music.</source>
        <translation>Idioma elegido: {0}. El cambio se aplicará al reiniciar. Si está sonando un instrumental, Kelvara devolverá la reproducción al reproductor antes de reiniciarse.</translation>
    </message>
    <message>
        <source>Позже</source>
        <translation>Más tarde</translation>
    </message>
    <message>
        <source>Не удалось перезапустить приложение. Закройте и откройте Kelvara вручную.</source>
        <translation>No se ha podido reiniciar la aplicación. Cierra Kelvara y vuelve a abrirla manualmente.</translation>
    </message>
    <message>
        <source>Нужно минимум 6 ГБ свободного места.</source>
        <translation>Se necesitan al menos 6 GB de espacio libre.</translation>
    </message>
    <message>
        <source>Установка уже идёт в другом окне установщика.</source>
        <translation>Ya hay una instalación en curso en otra ventana del instalador.</translation>
    </message>
    <message>
        <source>Загрузка Python…</source>
        <translation>Descargando Python…</translation>
    </message>
    <message>
        <source>Проверка целостности Python не пройдена. Повторите загрузку.</source>
        <translation>Python no ha superado la comprobación de integridad. Vuelve a descargarlo.</translation>
    </message>
    <message>
        <source>Распаковка Python…</source>
        <translation>Descomprimiendo Python…</translation>
    </message>
    <message>
        <source>Не удалось загрузить Python. Проверьте интернет и повторите.</source>
        <translation>No se ha podido descargar Python. Comprueba la conexión a internet y vuelve a intentarlo.</translation>
    </message>
    <message>
        <source>Установка остановилась. Проверьте интернет и свободное место, затем повторите. Подробности — в журнале.</source>
        <translation>La instalación se ha detenido. Comprueba la conexión a internet y el espacio libre, y vuelve a intentarlo. Tienes los detalles en el registro.</translation>
    </message>
    <message>
        <source>Журнал</source>
        <translation>Registro</translation>
    </message>
    <message>
        <source>Установить</source>
        <translation>Instalar</translation>
    </message>
    <message>
        <source>Вокальный модуль</source>
        <translation>Módulo de voz</translation>
    </message>
    <message>
        <source>Нажмите «Установить». Всё остальное установщик сделает сам.</source>
        <translation>Pulsa «Instalar». El instalador se encarga del resto.</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Всё готово</source>
        <translation>Todo listo</translation>
    </message>
    <message>
        <source>Вернитесь в Kelvara и нажмите кнопку удаления вокала.</source>
        <translation>Vuelve a Kelvara y pulsa el botón para quitar la voz.</translation>
    </message>
    <message>
        <source>Установка отменена</source>
        <translation>Instalación cancelada</translation>
    </message>
    <message>
        <source>Не удалось завершить установку</source>
        <translation>No se ha podido completar la instalación</translation>
    </message>
    <message>
        <source>Прежний рабочий модуль сохранён. Можно повторить установку.</source>
        <translation>Se conserva el módulo anterior, que funciona. Puedes repetir la instalación.</translation>
    </message>
    <message>
        <source>Скачиваем и устанавливаем компоненты. Это может занять несколько минут.</source>
        <translation>Descargando e instalando componentes. Puede tardar unos minutos.</translation>
    </message>
    <message>
        <source>Оставьте окно открытым — установка продолжается.</source>
        <translation>Deja la ventana abierta: la instalación sigue en curso.</translation>
    </message>
    <message>
        <source>Остановка…</source>
        <translation>Deteniendo…</translation>
    </message>
    <message>
        <source>Установка вокального модуля</source>
        <translation>Instalación del módulo de voz</translation>
    </message>
    <message>
        <source>Нужны интернет и 6 ГБ свободного места. Python установится автоматически только для Kelvara.</source>
        <translation>Necesitas conexión a internet y 6 GB de espacio libre. Python se instala automáticamente, solo para Kelvara.</translation>
    </message>
    <message>
        <source>Готово</source>
        <translation>Listo</translation>
    </message>
    <message>
        <source>Music не отвечает</source>
        <translation>El reproductor no responde</translation>
    </message>
    <message>
        <source>Строка запроса слишком длинная</source>
        <translation>La línea de la petición es demasiado larga</translation>
    </message>
    <message>
        <source>Некорректный JSON: {0}</source>
        <translation>JSON no válido: {0}</translation>
    </message>
    <message>
        <source>Поле «{0}» отсутствует или имеет неверный тип</source>
        <translation>El campo «{0}» falta o tiene un tipo incorrecto</translation>
    </message>
    <message>
        <source>Поле «{0}» не является конечным числом</source>
        <translation>El campo «{0}» no es un número finito</translation>
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
        <translation>Uso: kelvara-analyze [--json] [--no-cache] [--jobs N] ARCHIVO…
Analiza archivos de audio con la misma caché que Kelvara y muestra una línea por archivo: ruta, duración, número de puntos, BPM, inicio y fiabilidad de la cuadrícula, tiempo de análisis y si el resultado viene de la caché.

  --json      mostrar un objeto JSON por línea
  --no-cache  analizar de nuevo, sin leer ni escribir la caché
  --jobs N    analizar hasta N archivos a la vez (por defecto, uno por núcleo)
  --help      mostrar esta ayuda
  --version   mostrar la versión

El código de salida no es cero si no se ha podido analizar al menos un archivo; una caché que no se ha podido escribir es solo un aviso.</translation>
    </message>
    <message>
        <source>из кэша</source>
        <translation>de la caché</translation>
    </message>
    <message>
        <source>проанализирован</source>
        <translation>analizado</translation>
    </message>
    <message>
        <source>{0} — {1} с, точек: {2}, ритм не найден; {3} с, {4}</source>
        <translation>{0} — {1} s, puntos: {2}, sin ritmo estable; {3} s, {4}</translation>
    </message>
    <message>
        <source>{0} — {1} с, точек: {2}, BPM {3}, сетка от {4} с, уверенность {5}; {6} с, {7}</source>
        <translation>{0} — {1} s, puntos: {2}, BPM {3}, cuadrícula desde {4} s, fiabilidad {5}; {6} s, {7}</translation>
    </message>
    <message>
        <source>Не указаны файлы для анализа.</source>
        <translation>No se han indicado archivos para analizar.</translation>
    </message>
    <message>
        <source>Неизвестный параметр: {0}</source>
        <translation>Opción desconocida: {0}</translation>
    </message>
    <message>
        <source>Плеер</source>
        <translation>Reproductor</translation>
    </message>
    <message>
        <source>Автоматически</source>
        <translation>Automático</translation>
    </message>
    <message>
        <source>Диапазон темпа</source>
        <translation>Rango de tempo</translation>
    </message>
    <message>
        <source>Авто</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Не удалось прочитать аудио: файл повреждён или его формат не поддерживается.</source>
        <translation>No se puede leer el audio: el archivo está dañado o su formato no es compatible.</translation>
    </message>
    <message>
        <source>Не удалось загрузить библиотеку декодирования {0}; переустановите программу.</source>
        <translation>No se pudo cargar la biblioteca de decodificación {0}; reinstala el programa.</translation>
    </message>
    <message>
        <source>Заголовок файла неправдоподобен ({0} Гц, каналов: {1}); файл, вероятно, повреждён.</source>
        <translation>La cabecera del archivo no es verosímil ({0} Hz, {1} canales); probablemente el archivo está dañado.</translation>
    </message>
    <message>
        <source>Параметр {0} ждёт число от 1 до {1}.</source>
        <translation>La opción {0} espera un número del 1 al {1}.</translation>
    </message>
    <message>
        <source>Предупреждение: кэш не записан: {0}</source>
        <translation>Aviso: caché no escrita: {0}</translation>
    </message>
    <message>
        <source>файлов готово: {0} из {1}</source>
        <translation>archivos listos: {0} de {1}</translation>
    </message>
    <message>
        <source>Использование: kelvara [--help] [--version]
Показывает подробную звуковую волну трека, который играет MPRIS-плеер (mpv, Rhythmbox, Strawberry, Elisa, VLC …), с сеткой долей, метками и повторами.

  --help     показать эту справку
  --version  показать версию

С переменной окружения QT_LOGGING_RULES="kelvara.*=true" программа пишет подробности ошибок в стандартный поток ошибок.</source>
        <translation>Uso: kelvara [--help] [--version]
Muestra la forma de onda detallada de la pista que suena en un reproductor MPRIS (mpv, Rhythmbox, Strawberry, Elisa, VLC …), con rejilla de tiempos, marcas y bucles.

  --help     mostrar esta ayuda
  --version  mostrar la versión

Con QT_LOGGING_RULES="kelvara.*=true" en el entorno, el programa escribe los detalles de los errores en la salida de errores estándar.</translation>
    </message>
    <message>
        <source>Метка не найдена: {0}</source>
        <translation>No hay ningún cue con el identificador {0}</translation>
    </message>
    <message>
        <source>Читаю трек…</source>
        <translation>Leyendo la pista…</translation>
    </message>
    <message>
        <source>Отделяю вокал… {0} %</source>
        <translation>Quitando la voz… {0} %</translation>
    </message>
    <message>
        <source>Не найден декодер Kelvara</source>
        <translation>No se encontró el decodificador de Kelvara</translation>
    </message>
    <message>
        <source>Не удалось декодировать аудио.</source>
        <translation>No se pudo decodificar el audio.</translation>
    </message>
    <message>
        <source>Трек записан в моно: вокал в нём нельзя отделить</source>
        <translation>La pista es mono: no se puede separar su voz</translation>
    </message>
    <message>
        <source>Ошибка обработки: {0}</source>
        <translation>Error de procesamiento: {0}</translation>
    </message>
    <message>
        <source>{0} — инструментал: {1}</source>
        <translation>{0} — instrumental: {1}</translation>
    </message>
    <message>
        <source>После --decode нужен ровно один файл.</source>
        <translation>--decode necesita exactamente un archivo.</translation>
    </message>
    <message>
        <source>  --instrumental  подготовить для файлов инструменталы (без вокала) в кэше, которым пользуется окно
  --decode ФАЙЛ   вывести звук файла так, как его видит Kelvara (для обработчика вокала)</source>
        <translation>  --instrumental  preparar los instrumentales (sin voz) de los archivos en la caché que usa la ventana
  --decode ARCHIVO  escribir el audio del archivo tal como lo ve Kelvara (para el procesador de voz)</translation>
    </message>
    <message>
        <source>Использование: morvik [--install] [--help] [--version]
Устанавливает вокальный модуль для Kelvara: отдельный Python только для Kelvara и компоненты удаления вокала. Нужны интернет и 6 ГБ свободного места.

  --install  начать установку сразу, как откроется окно
  --help     показать эту справку
  --version  показать версию</source>
        <translation>Uso: morvik [--install] [--help] [--version]
Instala el módulo de voz para Kelvara: un Python propio, solo para Kelvara, y los componentes para quitar la voz. Necesita conexión a internet y 6 GB de espacio libre.

  --install  empezar la instalación en cuanto se abra la ventana
  --help     mostrar esta ayuda
  --version  mostrar la versión</translation>
    </message>
    <message>
        <source>Некорректное описание загрузки Python</source>
        <translation>Descripción de la descarga de Python no válida</translation>
    </message>
    <message>
        <source>Подготовка Python…</source>
        <translation>Preparando Python…</translation>
    </message>
    <message>
        <source>Загрузка компонентов…</source>
        <translation>Descargando componentes…</translation>
    </message>
    <message>
        <source>Проверка модуля…</source>
        <translation>Comprobando el módulo…</translation>
    </message>
    <message>
        <source>Не удалось установить компоненты.</source>
        <translation>No se pudieron instalar los componentes.</translation>
    </message>
    <message>
        <source>Проверка модуля не пройдена.</source>
        <translation>El módulo no ha superado la comprobación.</translation>
    </message>
</context>
</TS>
